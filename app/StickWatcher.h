#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

#include <vector>

class QSocketNotifier;

namespace velmora {

// A mounted PSP or Memory Stick: its mount folder and the name it is shown by (the volume's label, or
// the mount folder's own name when it has none).
struct FoundStick {
    QString folder;
    QString label;
    bool operator==(const FoundStick&) const = default;
};

// Keeps the list of mounted sticks up to date. The kernel marks /proc/self/mounts for poll() when a
// mount comes or goes; the list is read again then, at most once a second, and never by polling.
class StickWatcher : public QObject {
    Q_OBJECT

public:
    explicit StickWatcher(QObject* parent = nullptr);
    ~StickWatcher() override;

    const std::vector<FoundStick>& Sticks() const { return sticks_; }
    // The found stick that holds the path, if one does.
    const FoundStick* StickHolding(const std::string& path) const;
    // Reads the mount table from source from now on, and at once; tests give their own.
    void ReadMountsWith(std::function<std::string()> source);

signals:
    void SticksChanged();

private:
    void MountsChanged();
    void Rescan();

    int mountsFile_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer pending_;
    QElapsedTimer sinceScan_;
    std::vector<FoundStick> sticks_;
    std::function<std::string()> mountTableText_;
};

} // namespace velmora
