#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace velmora {

class FolderTree;
class LanguageFile;

// The New Folder button of the folder dialogs: it asks for a name and makes the folder inside the
// tree's selected folder, which it then selects. It is enabled while a folder is selected.
class NewFolderPrompt {
public:
    NewFolderPrompt(QWidget* dialog, FolderTree* tree, QPushButton* button);

    // The button's caption, the question and the failure (with %1 for the reason) from `section`.
    void LoadLanguageTexts(const LanguageFile& texts, const char* section);

private:
    void Ask();

    QWidget* dialog_;
    FolderTree* tree_;
    QPushButton* button_;
    QString question_;
    QString failure_;
};

} // namespace velmora
