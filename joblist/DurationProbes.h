#pragma once

#include "engine/ProbeAnswer.h"
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
#include <vector>

namespace velmora {

// Learns how long queued files play and which sound and subtitles the encoder would use, one encoder
// process at a time on a thread of its own, so that adding a thousand files never waits for them.
// Answers come back on the thread that made this object, in the order asked, with the question's
// source and preference words.
class DurationProbes : public QObject {
public:
    using Answer = std::function<void(std::uint64_t id, const std::string& source,
                                      const std::vector<std::string>& preferenceWords,
                                      std::optional<ProbeAnswer> answer)>;

    DurationProbes(std::string encoderPath, Answer answer);
    // Abandons the questions not yet answered; a probe under way is killed.
    ~DurationProbes() override;
    DurationProbes(const DurationProbes&) = delete;
    DurationProbes& operator=(const DurationProbes&) = delete;

    void Ask(std::uint64_t id, const std::string& source, const std::vector<std::string>& preferenceWords);
    // Whether a question has not been answered yet.
    bool Busy() const { return unanswered_ > 0; }

private:
    struct Question {
        std::uint64_t id;
        std::string source;
        std::vector<std::string> preferenceWords;
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
