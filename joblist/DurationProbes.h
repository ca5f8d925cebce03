#pragma once

#include "platform/CancellationFlag.h"

#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace velmora {

// Learns how long queued files play, one encoder process at a time on a thread of its own, so that
// adding a thousand files never waits for them. Answers come back on the thread that made this
// object, in the order asked.
class DurationProbes : public QObject {
public:
    using Answer =
        std::function<void(std::uint64_t id, const std::string& source, std::optional<double> seconds)>;

    DurationProbes(std::string encoderPath, Answer answer);
    // Abandons the questions not yet answered; a probe under way is killed.
    ~DurationProbes() override;
    DurationProbes(const DurationProbes&) = delete;
    DurationProbes& operator=(const DurationProbes&) = delete;

    void Ask(std::uint64_t id, const std::string& source);
    // Whether a question has not been answered yet.
    bool Busy() const { return unanswered_ > 0; }

private:
    struct Question {
        std::uint64_t id;
        std::string source;
    };

    void Work();

    const std::string encoderPath_;
    const Answer answer_;
    CancellationFlag stopping_;
    std::mutex mutex_;
    std::condition_variable asked_;
    std::deque<Question> questions_;
    bool ending_ = false;
    int unanswered_ = 0; // owner thread only
    std::thread worker_;
};

} // namespace velmora
