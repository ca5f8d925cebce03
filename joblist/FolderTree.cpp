#include "joblist/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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
    QString folder = QDir::cleanPath(path.isEmpty() ? QStringLiteral("/") : path);
    while (!QFileInfo(folder).isDir() && folder != QStringLiteral("/"))
        folder = QFileInfo(folder).path();
    QModelIndex index = model_->index(folder);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

QString FolderTree::CreateFolder(const QString& name) {
    const QString parent = SelectedPath();
    if (parent.isEmpty())
        return QString::fromLocal8Bit(strerror(ENOENT));
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral(".") ||
        name == QStringLiteral(".."))
        return QString::fromLocal8Bit(strerror(EINVAL));
    const QString path = QDir(parent).filePath(name);
    if (mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        return QString::fromLocal8Bit(strerror(errno));
    SelectPath(path);
    return {};
}

} // namespace velmora
