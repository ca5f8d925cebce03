#include "joblist/FolderTree.h"

#include <QFileSystemModel>
#include <QHeaderView>

namespace velmora {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    // Hidden folders stay out of sight, as in the desktop's own file manager.
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QStringLiteral("/"));
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Folders are listed in the background; the selected one comes into view once its parent is.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

QString FolderTree::SelectedPath() const {
    QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

void FolderTree::SelectPath(const QString& path) {
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    QModelIndex index = model_->index(folder);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

} // namespace velmora
