#pragma once

#include <QWidget>

#include <functional>

class QFileDialog;
class QLineEdit;

namespace velmora {

// Qt's own folder dialog, set inside a window of ours: the places of the desktop in its sidebar, the
// folders of one folder at a time, and a path field that takes a typed or pasted path (Ctrl+L).
class FolderPicker : public QWidget {
    Q_OBJECT

public:
    explicit FolderPicker(QWidget* parent = nullptr);

    // The chosen folder (the one selected, typed, or else the one shown), or the empty text when
    // what was typed is not an existing folder.
    QString SelectedPath() const;
    // Shows the folder's parent with the folder selected, or its nearest existing parent when it (or
    // part of its path) is missing.
    void SelectPath(const QString& path);
    // Makes a folder of that name in the selected folder and selects it; the reason when it fails.
    QString CreateFolder(const QString& name);
    QLineEdit* PathField() const { return pathField_; }

    // Enter in the path field, and Esc, for the window around it.
    std::function<void()> OnChosen;
    std::function<void()> OnCancelled;

private:
    void ShowSelected();

    QFileDialog* dialog_;
    QLineEdit* pathField_;
    QString selecting_;
};

} // namespace velmora
