#include "platform/qt/ModalQuestions.h"

#include "platform/qt/FolderPlaces.h"
#include "platform/qt/MessageBoxTitle.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velmora {

bool DialogQuestions::ConfirmOkCancel(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    FitTitle(box);
    return box.exec() == QMessageBox::Ok;
}

bool DialogQuestions::AskYesNo(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    FitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

int DialogQuestions::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

void DialogQuestions::ShowWarning(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, owner);
    // The warnings list file names, which are never read as markup.
    box.setTextFormat(Qt::PlainText);
    // So that a path it names can be copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    FitTitle(box);
    box.exec();
}

QStringList DialogQuestions::ChooseFilesToOpen(QWidget* owner, const QString& title,
                                               const QStringList& filters, QString& selectedFilter) {
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // A filter of every video kind would otherwise show a list too long for its box.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setSidebarUrls(DesktopPlaceUrls());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selectedFilter);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles();
}

} // namespace velmora
