#include "dialogs/UnitSetting.h"

#include "dialogs/AutoPowerOffServices.h"
#include "platform/ErrorReport.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WindowPlacement.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

namespace velmora {

TfrmSetting::TfrmSetting(QWidget* parent, const AutoPowerOffServices& common)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      common_(common) {
    setObjectName(QStringLiteral("frmSetting"));
    setFixedSize(307, 120);

    checkBoxAutoPowerOff =
        new QCheckBox(QStringLiteral("Shut down the windows when the conversion is complete."), this);
    checkBoxAutoPowerOff->setObjectName(QStringLiteral("checkBoxAutoPowerOff"));
    checkBoxAutoPowerOff->setGeometry(4, 8, 300, 33);

    labelWaitTime = new QLabel(QStringLiteral("Wait time:"), this);
    labelWaitTime->setObjectName(QStringLiteral("labelWaitTime"));
    labelWaitTime->setGeometry(4, 51, 110, 16);
    labelWaitTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    editWaitTime = new QSpinBox(this);
    editWaitTime->setObjectName(QStringLiteral("editWaitTime"));
    editWaitTime->setGeometry(120, 48, 57, 21);
    editWaitTime->setRange(kMinimumWaitTime, kMaximumWaitTime);
    // The label names the edit, also for screen readers.
    labelWaitTime->setBuddy(editWaitTime);

    LabelSecond = new QLabel(QStringLiteral("seconds"), this);
    LabelSecond->setObjectName(QStringLiteral("LabelSecond"));
    LabelSecond->setGeometry(183, 51, 118, 16);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setGeometry(66, 84, 80, 25);
    ButtonOK->setDefault(true);

    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(162, 84, 80, 25);

    // Enabling follows the box also when FormShow sets it.
    connect(checkBoxAutoPowerOff, &QCheckBox::toggled, this,
            Guarded([this] { checkBoxAutoPowerOffClick(); }));
    connect(ButtonOK, &QPushButton::clicked, this, Guarded([this] { ButtonOKClick(); }));
    connect(ButtonCancel, &QPushButton::clicked, this, Guarded([this] { ButtonCancelClick(); }));

    setTabOrder(ButtonOK, ButtonCancel);
    setTabOrder(ButtonCancel, checkBoxAutoPowerOff);
    setTabOrder(checkBoxAutoPowerOff, editWaitTime);
}

void TfrmSetting::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmSetting";
    setWindowTitle(texts.Text(section, "caption"));
    checkBoxAutoPowerOff->setText(texts.Text(section, "checkBoxAutoPowerOff"));
    labelWaitTime->setText(texts.Text(section, "labelWaitTime"));
    LabelSecond->setText(texts.Text(section, "LabelSecond"));
    ButtonOK->setText(texts.Text(section, "ButtonOK"));
    ButtonCancel->setText(texts.Text(section, "ButtonCancel"));
}

void TfrmSetting::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event)) {
        CentreOnParent(*this);
        ButtonOK->setFocus();
        RunGuarded([this] { FormShow(); });
    }
    QDialog::showEvent(event);
}

void TfrmSetting::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

void TfrmSetting::FormShow() {
    const bool on = common_.IsAutoPowerOffOn();
    checkBoxAutoPowerOff->setChecked(on);
    // A value stored by hand outside the range shows as its nearest end, and is stored so with OK.
    editWaitTime->setValue(common_.ReadAutoPowerOffWaitTime());
    editWaitTime->setEnabled(on);
}

void TfrmSetting::checkBoxAutoPowerOffClick() {
    editWaitTime->setEnabled(checkBoxAutoPowerOff->isChecked());
}

void TfrmSetting::ButtonOKClick() {
    const bool on = checkBoxAutoPowerOff->isChecked();
    // A number being typed counts, as if the box had lost the focus first.
    editWaitTime->interpretText();
    const int32_t waitTime = editWaitTime->value();
    common_.WriteAutoPowerOff(on);
    common_.WriteAutoPowerOffWaitTime(waitTime);
    hide();
}

void TfrmSetting::ButtonCancelClick() {
    reject();
}

void TfrmSetting::ApplyJapaneseCharset() {
    for (QWidget* control : std::initializer_list<QWidget*>{labelWaitTime, LabelSecond, checkBoxAutoPowerOff,
                                                            ButtonOK, ButtonCancel})
        UseJapaneseFont(control);
}

} // namespace velmora
