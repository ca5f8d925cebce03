#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace velmora {

// The places a folder or file dialog offers in its sidebar, in order: home, then the desktop's own
// folders given (videos, desktop …) that differ from home, then the mounted sticks and drives among
// mountRoots (those under /media, /run/media and /mnt), then the file system's root. Each once.
QStringList FolderPlaces(const QString& home, const QStringList& ownFolders, const QStringList& mountRoots);

// The places of this desktop now: its existing standard folders and mounted volumes.
QList<QUrl> DesktopPlaceUrls();

} // namespace velmora
