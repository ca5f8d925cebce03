#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class LanguageFile;

// The settings dialog: automatic power-off after a run and its countdown length.
class TfrmSetting : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSetting(QWidget* parent);

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    QCheckBox* checkBoxAutoPowerOff;
    QLabel* labelWaitTime;
    QLineEdit* editWaitTime;
    QLabel* LabelSecond;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
};

} // namespace velmora
