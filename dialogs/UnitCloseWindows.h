#pragma once

#include "dialogs/TickTimer.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;

namespace velmora {

class AutoPowerOffServices;
class LanguageFile;

// The countdown shown before the computer is powered off at the end of a run. Only No cancels it:
// closing the window leaves it counting out of sight.
class TfrmPowerOffWindows : public QDialog {
    Q_OBJECT

public:
    TfrmPowerOffWindows(QWidget* parent, const AutoPowerOffServices& common);

    // Shows the countdown modally and returns when the window closes, whatever closed it.
    void ShowCountdown();

    // Puts another clock in the place of the one-second timer, disabled.
    void UseTimer(std::unique_ptr<TickTimer> timer);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    void FormShow();
    void TimerTimer();
    void buttonYesClick();
    void buttonNoClick();

    QLabel* labelNotice;
    QPushButton* buttonYes;
    QPushButton* buttonNo;
    std::unique_ptr<TickTimer> Timer;

    // The Yes button's language text, the base of its countdown caption.
    QString FYesCaption;
    int32_t FTickCount = 0;
    int32_t FWaitTime = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const AutoPowerOffServices& common_;
};

} // namespace velmora
