#include "platform/qt/FolderPlaces.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace velmora {

namespace {
bool IsRemovableMount(const QString& root) {
    for (const QString& base :
         {QStringLiteral("/media/"), QStringLiteral("/run/media/"), QStringLiteral("/mnt/")})
        if (root.startsWith(base) && root.size() > base.size())
            return true;
    return root == QStringLiteral("/mnt");
}
} // namespace

QStringList FolderPlaces(const QString& home, const QStringList& ownFolders, const QStringList& mountRoots) {
    QStringList places;
    const auto add = [&places](const QString& path) {
        const QString clean = QDir::cleanPath(path);
        if (!path.isEmpty() && !places.contains(clean))
            places << clean;
    };
    add(home);
    for (const QString& folder : ownFolders)
        add(folder);
    for (const QString& root : mountRoots)
        if (IsRemovableMount(QDir::cleanPath(root)))
            add(root);
    add(QStringLiteral("/"));
    return places;
}

QList<QUrl> DesktopPlaceUrls() {
    QStringList own;
    for (const auto location :
         {QStandardPaths::MoviesLocation, QStandardPaths::DesktopLocation, QStandardPaths::DownloadLocation})
        if (const QString folder = QStandardPaths::writableLocation(location); QFileInfo(folder).isDir())
            own << folder;
    QStringList mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            mounts << volume.rootPath();
    QList<QUrl> urls;
    for (const QString& place : FolderPlaces(QDir::homePath(), own, mounts))
        urls << QUrl::fromLocalFile(place);
    return urls;
}

} // namespace velmora
