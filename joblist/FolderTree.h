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
    void SelectPath(const QString& path);

private:
    QFileSystemModel* model_;
};

} // namespace velmora
