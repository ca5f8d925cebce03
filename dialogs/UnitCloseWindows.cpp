#include "dialogs/UnitCloseWindows.h"

#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace velmora {

TfrmPowerOffWindows::TfrmPowerOffWindows(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmPowerOffWindows"));
    setFixedSize(283, 118);

    labelNotice = new QLabel(QStringLiteral("labelNotice"), this);
    labelNotice->setObjectName(QStringLiteral("labelNotice"));
    labelNotice->setGeometry(17, 14, 249, 41);
    labelNotice->setWordWrap(false);

    buttonYes = new QPushButton(QStringLiteral("Yes"), this);
    buttonYes->setObjectName(QStringLiteral("buttonYes"));
    buttonYes->setGeometry(40, 74, 92, 27);

    buttonNo = new QPushButton(QStringLiteral("No"), this);
    buttonNo->setObjectName(QStringLiteral("buttonNo"));
    buttonNo->setGeometry(151, 74, 92, 27);
    buttonNo->setDefault(true);

    setTabOrder(buttonYes, buttonNo);
    buttonYes->setFocus();

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
}

void TfrmPowerOffWindows::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmPowerOffWindows";
    setWindowTitle(texts.Text(section, "caption"));
    labelNotice->setText(texts.Text(section, "labelNotice"));
    buttonYes->setText(texts.Text(section, "buttonYes"));
    FYesCaption = texts.Text(section, "buttonYes");
    buttonNo->setText(texts.Text(section, "buttonNo"));
}

void TfrmPowerOffWindows::ApplyJapaneseCharset() {
    for (QWidget* control : std::initializer_list<QWidget*>{labelNotice, buttonYes, buttonNo})
        UseJapaneseFont(control);
}

} // namespace velmora
