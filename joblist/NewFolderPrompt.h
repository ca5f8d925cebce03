#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace velmora {

class FolderPicker;
class LanguageFile;

// The New Folder button of the folder dialogs: it asks for a name and makes the folder inside the
// picker's selected folder, which it then selects.
class NewFolderPrompt {
public:
    NewFolderPrompt(QWidget* dialog, FolderPicker* tree, QPushButton* button);

    // The button's caption, the question and the failure (with %1 for the reason) from `section`.
    void LoadLanguageTexts(const LanguageFile& texts, const char* section);

private:
    void Ask();

    QWidget* dialog_;
    FolderPicker* tree_;
    QPushButton* button_;
    QString question_;
    QString failure_;
};

} // namespace velmora
