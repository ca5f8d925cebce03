#include "joblist/NewFolderPrompt.h"

#include "joblist/FolderPicker.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/LanguageFile.h"
#include "platform/qt/MessageBoxTitle.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace velmora {

NewFolderPrompt::NewFolderPrompt(QWidget* dialog, FolderPicker* tree, QPushButton* button)
    : dialog_(dialog), tree_(tree), button_(button) {
    // The picker always shows a folder to make it in.
    QObject::connect(button_, &QPushButton::clicked, dialog_, [this] { Ask(); });
}

void NewFolderPrompt::LoadLanguageTexts(const LanguageFile& texts, const char* section) {
    button_->setText(texts.Text(section, "buttonNewFolder"));
    question_ = texts.Text(section, "msgNewFolder");
    failure_ = texts.Text(section, "msgNewFolderFailed");
}

namespace {
void ShowFailure(QWidget* dialog, const QString& text) {
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::Ok, dialog);
    box.setTextFormat(Qt::PlainText);
    FitTitle(box);
    box.exec();
}
} // namespace

void NewFolderPrompt::Ask() {
    // The caption without its mnemonic and its ellipsis.
    QString title = button_->text();
    title.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&|\\.\\.\\.$|…$")));
    bool ok = false;
    const QString name = QInputDialog::getText(dialog_, title, question_, QLineEdit::Normal, QString(), &ok);
    if (!ok || name.isEmpty())
        return;
    const QString reason = tree_->CreateFolder(name);
    if (!reason.isEmpty())
        ShowFailure(dialog_, failure_.arg(reason));
    tree_->setFocus();
}

} // namespace velmora
