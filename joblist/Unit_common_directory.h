#pragma once

#include "platform/qt/WindowPlacement.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace velmora {

class FolderPicker;
class LanguageFile;
class NewFolderPrompt;

// The folder chooser for the output folder.
class TFrmDirectory : public QDialog {
    Q_OBJECT

public:
    explicit TFrmDirectory(QWidget* parent);
    ~TFrmDirectory() override;

    void LoadLanguageTexts(const LanguageFile& texts);
    void ApplyJapaneseCharset();

    // OK takes the chosen folder; a typed path that is no folder keeps the dialog open.
    void ButtonOKClick();
    // Cancel, Esc and the close box empty ChosenDirectory.
    void reject() override;

    QLabel* LabelDirectory;
    FolderPicker* ShellTreeView1;
    QPushButton* ButtonOK;
    QPushButton* ButtonCancel;
    QPushButton* ButtonNewFolder;

    // The folder chosen with OK; empty after Cancel.
    QString ChosenDirectory;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<NewFolderPrompt> newFolder_;
    OpeningWatch opening_;
};

} // namespace velmora
