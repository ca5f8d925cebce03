#pragma once

#include "platform/qt/WindowPlacement.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;
class QPushButton;

namespace velmora {

class AutoPowerOffServices;
class LanguageFile;

// The settings dialog: automatic power-off after a run and its countdown length. Modeless; every
// opening reloads the controls from the configuration file, showing it again while open only raises it.
class TfrmSetting : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMinimumWaitTime = 5;
    static constexpr int kMaximumWaitTime = 3600;

    TfrmSetting(QWidget* parent, const AutoPowerOffServices& common);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    void FormShow();
    void checkBoxAutoPowerOffClick();
    void ButtonOKClick();
    void ButtonCancelClick();

    QCheckBox* checkBoxAutoPowerOff;
    QLabel* labelWaitTime;
    // Seconds, from kMinimumWaitTime to kMaximumWaitTime.
    QSpinBox* editWaitTime;
    QLabel* LabelSecond;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    const AutoPowerOffServices& common_;
    OpeningWatch opening_;
};

} // namespace velmora
