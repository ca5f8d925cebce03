#include "joblist/DurationProbes.h"

#include "engine/SourceDuration.h"

#include <QMetaObject>

#include <exception>

namespace velmora {
namespace {

// A header read takes milliseconds; a source on a stalled network share must not hold the rest up.
constexpr std::chrono::seconds kProbeLimit{10};

} // namespace

DurationProbes::DurationProbes(std::string encoderPath, Answer answer)
    : encoderPath_(std::move(encoderPath)), answer_(std::move(answer)), worker_([this] { Work(); }) {}

DurationProbes::~DurationProbes() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    stopping_.Set();
    asked_.notify_one();
    worker_.join();
}

void DurationProbes::Ask(std::uint64_t id, const std::string& source,
                         const std::vector<std::string>& preferenceWords) {
    ++unanswered_;
    {
        const std::lock_guard lock(mutex_);
        questions_.push_back({id, source, preferenceWords});
    }
    asked_.notify_one();
}

void DurationProbes::Work() {
    for (;;) {
        Question question;
        {
            std::unique_lock lock(mutex_);
            asked_.wait(lock, [this] { return ending_ || !questions_.empty(); });
            if (ending_)
                return;
            question = std::move(questions_.front());
            questions_.pop_front();
        }
        std::optional<ProbeAnswer> answer;
        try {
            answer = AskSourceProbe(encoderPath_, question.source, question.preferenceWords, kProbeLimit,
                                    stopping_.Descriptor());
        } catch (const std::exception&) {
            // An encoder that cannot be started leaves the length unknown, as an unreadable file does.
        }
        // Not delivered once this object is gone: Qt drops calls whose context has been destroyed.
        QMetaObject::invokeMethod(
            this,
            [this, question = std::move(question), answer = std::move(answer)] {
                --unanswered_;
                answer_(question.id, question.source, question.preferenceWords, answer);
            },
            Qt::QueuedConnection);
    }
}

} // namespace velmora
