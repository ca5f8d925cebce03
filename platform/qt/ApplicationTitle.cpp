#include "platform/qt/ApplicationTitle.h"

#include <QCoreApplication>

namespace velmora {

namespace {
QString& StoredTitle() {
    static QString title;
    return title;
}
} // namespace

void SetApplicationTitle(const QString& title) {
    StoredTitle() = title;
    // The window manager names the task-bar entry after the application name when a window caption is
    // blank, and groups windows by it.
    if (!title.isEmpty())
        QCoreApplication::setApplicationName(title);
}

QString ApplicationTitle() {
    return StoredTitle();
}

} // namespace velmora
