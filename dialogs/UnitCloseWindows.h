#pragma once

#include "dialogs/TickTimer.h"
#include "platform/qt/WindowPlacement.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace velmora {

class AutoPowerOffServices;
class LanguageFile;

// How the run before the countdown went, and what can be done with its report.
struct CountdownRun {
    int converted = 0;
    int queued = 0;
    int failed = 0;
    bool allConverted = true;
    // Each empty when there is no report to tell: opens it; keeps it for the next start, as the
    // power-off is requested; lets it go, as the power-off is refused.
    std::function<void()> showReport;
    std::function<void()> keepReport;
    std::function<void()> dropReport;
};

// The countdown shown before the computer is powered off at the end of a run. Only No cancels it:
// closing the window leaves it counting out of sight. It stops at 0 with one power-off request; a
// refused request is shown in the notice with the system's reason, and Yes may then ask once more.
class TfrmPowerOffWindows : public QDialog {
    Q_OBJECT

public:
    TfrmPowerOffWindows(QWidget* parent, const AutoPowerOffServices& common);

    // Shows the countdown modally, telling how the run went, and returns when the window closes,
    // whatever closed it.
    void ShowCountdown(CountdownRun run = {});

    // Puts another clock in the place of the one-second timer, disabled.
    void UseTimer(std::unique_ptr<TickTimer> timer);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    void FormShow();
    void TimerTimer();
    void buttonYesClick();
    void buttonNoClick();
    // Asks for the power-off unless a request of this showing is still unanswered; ends the count.
    void RequestPowerOff();
    void PowerOffFailed(const std::string& reason);

    QLabel* labelNotice;
    QPushButton* buttonYes;
    QPushButton* buttonNo;
    // Shown only when the run has a report to tell.
    QPushButton* buttonReport;
    std::unique_ptr<TickTimer> Timer;

    // The Yes button's language text, the base of its countdown caption.
    QString FYesCaption;
    // The notice's language text and the format of a refusal, with the reason as %1.
    QString FNoticeText;
    QString FFailedFormat;
    // The notice of a run that did not convert everything: its outcome (%1 of %2, %3 failed), then
    // the question.
    QString FOutcomeFormat;
    QString FQuestionText;
    CountdownRun FRun;
    int32_t FTickCount = 0;
    int32_t FWaitTime = 0;
    bool FRequestPending = false;
    // Counts the showings, so that an answer to an earlier one is not taken for the current one's.
    int32_t FShowing = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const AutoPowerOffServices& common_;
    OpeningWatch opening_;
};

} // namespace velmora
