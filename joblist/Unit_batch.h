#pragma once

#include "platform/qt/WindowPlacement.h"

#include <QDialog>

#include <memory>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class FolderPicker;
class LanguageFile;
class NewFolderPrompt;

// The batch-add dialog: a folder, an extension and whether subfolders count.
class TFrmBatchAdd : public QDialog {
    Q_OBJECT

public:
    explicit TFrmBatchAdd(QWidget* parent);
    ~TFrmBatchAdd() override;

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    // Hides the dialog and hands the selected folder, the subfolder choice and the trimmed extension
    // to OnBatchAdd. Nothing happens while no folder is selected.
    void buttonOKClick();

    // Runs the batch add (the main window's folder scan).
    std::function<void(const std::string& folder, bool recurse, const std::string& extension)> OnBatchAdd;

    QLabel* labelDirectory;
    FolderPicker* ShellTreeView;
    QCheckBox* checkBoxIsSubDirectorie;
    QLabel* labelFileNameExt;
    QLineEdit* editExt;
    QLabel* labelNoticeFileNameExt;
    QPushButton* buttonOK;
    QPushButton* buttonCancel;
    QPushButton* buttonNewFolder;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<NewFolderPrompt> newFolder_;
    OpeningWatch opening_;
};

} // namespace velmora
