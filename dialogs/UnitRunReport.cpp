#include "dialogs/UnitRunReport.h"

#include "platform/ErrorReport.h"
#include "platform/qt/JapaneseFont.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/WindowPlacement.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace velmora {

TfrmRunReport::TfrmRunReport(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmRunReport"));
    setWindowTitle(QStringLiteral("Conversion report"));
    resize(480, 300);

    labelSummary = new QLabel(this);
    labelSummary->setObjectName(QStringLiteral("labelSummary"));
    labelSummary->setWordWrap(true);
    labelSummary->setTextFormat(Qt::PlainText);
    labelSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    labelProblems = new QLabel(QStringLiteral("These files need your attention:"), this);
    labelProblems->setObjectName(QStringLiteral("labelProblems"));

    memoProblems = new QPlainTextEdit(this);
    memoProblems->setObjectName(QStringLiteral("memoProblems"));
    memoProblems->setReadOnly(true);
    // Reachable by Tab, so the keyboard can select and copy from it.
    memoProblems->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memoProblems->setTabChangesFocus(true);
    labelProblems->setBuddy(memoProblems);

    buttonCopy = new QPushButton(QStringLiteral("Copy"), this);
    buttonCopy->setObjectName(QStringLiteral("buttonCopy"));
    buttonCopy->setAutoDefault(false);
    buttonRemoveConverted = new QPushButton(QStringLiteral("Remove converted files from the list"), this);
    buttonRemoveConverted->setObjectName(QStringLiteral("buttonRemoveConverted"));
    buttonRemoveConverted->setAutoDefault(false);
    buttonClose = new QPushButton(QStringLiteral("Close"), this);
    buttonClose->setObjectName(QStringLiteral("buttonClose"));
    buttonClose->setDefault(true);

    // As large as the other dialogs' buttons, whatever padding the skin gives them.
    for (QPushButton* button : {buttonCopy, buttonRemoveConverted, buttonClose})
        button->setMinimumSize(80, 25);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttonCopy);
    buttons->addWidget(buttonRemoveConverted);
    buttons->addStretch();
    buttons->addWidget(buttonClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelSummary);
    layout->addWidget(labelProblems);
    layout->addWidget(memoProblems, 1);
    layout->addLayout(buttons);

    connect(buttonCopy, &QPushButton::clicked, this, Guarded([this] { buttonCopyClick(); }));
    connect(buttonRemoveConverted, &QPushButton::clicked, this, [this] { done(RemoveConverted); });
    connect(buttonClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmRunReport::SetReport(const QString& summary, const QStringList& problems, bool anyConverted) {
    labelSummary->setText(summary);
    memoProblems->setPlainText(problems.join(QStringLiteral("\n\n")));
    buttonRemoveConverted->setEnabled(anyConverted);
}

QString TfrmRunReport::ReportText() const {
    return labelSummary->text() + QStringLiteral("\n\n") + memoProblems->toPlainText() + QLatin1Char('\n');
}

void TfrmRunReport::buttonCopyClick() {
    QApplication::clipboard()->setText(ReportText());
}

void TfrmRunReport::LoadLanguageTexts(const LanguageFile& texts) {
    const char* section = "frmRunReport";
    setWindowTitle(texts.Text(section, "caption"));
    labelProblems->setText(texts.Text(section, "labelProblems"));
    memoProblems->setAccessibleName(labelProblems->text());
    buttonCopy->setText(texts.Text(section, "buttonCopy"));
    buttonRemoveConverted->setText(texts.Text(section, "buttonRemoveConverted"));
    buttonClose->setText(texts.Text(section, "buttonClose"));
}

void TfrmRunReport::ApplyJapaneseCharset() {
    for (QWidget* control : std::initializer_list<QWidget*>{labelSummary, labelProblems, memoProblems,
                                                            buttonCopy, buttonRemoveConverted, buttonClose})
        UseJapaneseFont(control);
}

void TfrmRunReport::showEvent(QShowEvent* event) {
    if (opening_.Opens(*event)) {
        CentreOnParent(*this);
        buttonClose->setFocus();
    }
    QDialog::showEvent(event);
}

void TfrmRunReport::hideEvent(QHideEvent* event) {
    opening_.Closed(*event);
    QDialog::hideEvent(event);
}

} // namespace velmora
