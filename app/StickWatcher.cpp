#include "app/StickWatcher.h"

#include "platform/MemorySticks.h"
#include "platform/qt/PathText.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <QStorageInfo>

#include <algorithm>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr int kLeastScanIntervalMs = 1000;

QString LabelOf(const QString& folder) {
    const QString label = QStorageInfo(folder).name();
    if (!label.isEmpty())
        return label;
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

} // namespace

StickWatcher::StickWatcher(QObject* parent) : QObject(parent), mountTableText_(ReadMountTableText) {
    pending_.setSingleShot(true);
    connect(&pending_, &QTimer::timeout, this, &StickWatcher::Rescan);
    mountsFile_ = open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (mountsFile_ >= 0) {
        // poll() reports a change of the table as POLLPRI, which Qt watches as an exception.
        notifier_ = new QSocketNotifier(mountsFile_, QSocketNotifier::Exception, this);
        connect(notifier_, &QSocketNotifier::activated, this, &StickWatcher::MountsChanged);
    }
    Rescan();
}

StickWatcher::~StickWatcher() {
    delete notifier_;
    if (mountsFile_ >= 0)
        close(mountsFile_);
}

const FoundStick* StickWatcher::StickHolding(const std::string& path) const {
    for (const FoundStick& stick : sticks_)
        if (LiesInFolder(path, PathFromText(stick.folder)))
            return &stick;
    return nullptr;
}

void StickWatcher::ReadMountsWith(std::function<std::string()> source) {
    mountTableText_ = std::move(source);
    Rescan();
}

void StickWatcher::MountsChanged() {
    if (pending_.isActive())
        return;
    const qint64 since = sinceScan_.isValid() ? sinceScan_.elapsed() : kLeastScanIntervalMs;
    pending_.start(static_cast<int>(std::max<qint64>(0, kLeastScanIntervalMs - since)));
}

void StickWatcher::Rescan() {
    sinceScan_.start();
    std::vector<FoundStick> found;
    for (const MountEntry& mount : FindMemorySticks(ParseMountTable(mountTableText_()))) {
        const QString folder = TextFromPath(mount.folder);
        found.push_back({folder, LabelOf(folder)});
    }
    if (found == sticks_)
        return;
    sticks_ = std::move(found);
    emit SticksChanged();
}

} // namespace velmora
