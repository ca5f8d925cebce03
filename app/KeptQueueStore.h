#pragma once

#include "engine/InterruptedPair.h"
#include "engine/KeptQueue.h"
#include "platform/FileLock.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace velmora {

// The texts of the kept queue, from the language file's KeptQueue section.
struct KeptQueueTexts {
    QString StringOutcomeMissing, msgOutcomeMissing, msgQueueDamaged, msgQueueLost, msgQueueOtherWindow,
        msgQueueNotKept, msgQueueInterrupted, msgQueueInterruptedKept, msgConvertAllAgain,
        msgReasonSourceGone, msgReasonOutputGone, msgOutcomeReplacedPart;
};

// The main window's queue file: read once at start, then written after every change, at most a few
// times a second, by a thread of its own so that a slow disk never holds the window up. One window at
// a time keeps it: the first to start holds its lock until it ends; another keeps nothing.
class KeptQueueStore : public QObject {
public:
    // Why the queue is not what was kept, or not kept from now on.
    enum class Problem : std::uint8_t { None, Damaged, Lost, HeldElsewhere, NotWritable };

    struct Opening {
        KeptQueue queue;
        // The pair a run was writing when the program died, settled.
        std::optional<SettledPair> interrupted;
        Problem problem = Problem::None;
        int error = 0; // NotWritable: why
    };

    // folder: where the file lives, with its trailing '/'. snapshot: the queue as the window shows it.
    KeptQueueStore(std::string folder, std::function<KeptQueue()> snapshot);
    // Waits for the write under way.
    ~KeptQueueStore() override;

    const std::string& FilePath() const { return path_; }
    // Takes the lock and reads the file. Without the lock nothing is written, and a pair on record is
    // left alone: its run may still be going on in the window that holds it.
    Opening Open();

    // The queue changed: it is written soon.
    void Changed();
    // Writes now, without waiting for it; Written(ticket) turns true once the write has ended.
    std::uint64_t WriteNow();
    bool Written(std::uint64_t ticket) const { return written_ >= ticket; }
    // Writes now and waits for it: the program ends.
    void Flush();

    // Told once, on the user-interface thread, when a write fails; errno's value.
    std::function<void(int error)> onWriteFailed;

private:
    void Work();
    void Finished(std::uint64_t ticket, int error);

    const std::string path_;
    const std::function<KeptQueue()> snapshot_;
    std::optional<FileLock> lock_;
    QTimer due_;
    std::string lastText_;
    std::uint64_t lastTicket_ = 0;
    std::uint64_t written_ = 0; // user-interface thread
    bool failureTold_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::string> pending_;
    std::uint64_t pendingTicket_ = 0;
    bool busy_ = false;
    bool ending_ = false;
    std::thread worker_;
};

} // namespace velmora
