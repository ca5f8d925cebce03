#pragma once

#include <QTreeView>

class QFileSystemModel;

namespace velmora {

// A tree of the file system's folders only, from the root folder down, with the desktop's icons.
class FolderTree : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTree(QWidget* parent = nullptr);

    // The selected folder's path, or the empty text when nothing is selected.
    QString SelectedPath() const;
    // Selects the folder, or its nearest existing parent when it (or part of its path) is missing.
    void SelectPath(const QString& path);
    // Makes a folder of that name in the selected folder and selects it; the reason when it fails.
    QString CreateFolder(const QString& name);

private:
    QFileSystemModel* model_;
};

} // namespace velmora
