#include "engine/SourceDuration.h"

#include "engine/ProbeAnswer.h"

#include "platform/ChildProcess.h"
#include "platform/DescriptorIO.h"
#include "platform/FileDescriptor.h"
#include "platform/Pipe.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <poll.h>

namespace velmora {
namespace {

// A length is a short line; anything longer is not an answer and is not kept.
constexpr std::size_t kDurationAnswerLimit = 64;
// A probe's facts fit in a few lines; the rest of a runaway answer is dropped.
constexpr std::size_t kProbeAnswerLimit = 16 * 1024;

// Reads the encoder's answer until it closes its output; false when the time ran out or the
// cancellation came first.
bool ReadAnswer(int descriptor, int cancelDescriptor, std::chrono::steady_clock::time_point deadline,
                std::size_t answerLimit, std::string& answer) {
    std::array<char, 256> buffer{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        std::array<pollfd, 2> waits{{{descriptor, POLLIN, 0}, {cancelDescriptor, POLLIN, 0}}};
        const int ready = ::poll(waits.data(), cancelDescriptor >= 0 ? 2 : 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (cancelDescriptor >= 0 && waits[1].revents != 0))
            return false;
        if (ready == 0)
            continue;
        const ReadResult read = ReadSome(descriptor, buffer.data(), buffer.size());
        if (read.error != 0)
            return false;
        if (read.count == 0)
            return true;
        answer.append(buffer.data(),
                      std::min(read.count, answerLimit - std::min(answer.size(), answerLimit)));
    }
}

// The encoder's standard output for these words, when it ends by itself with exit code 0.
std::optional<std::string> AskEncoder(const std::vector<std::string>& words, std::chrono::milliseconds limit,
                                      int cancelDescriptor, std::size_t answerLimit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    const FileDescriptor nothing(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!nothing.IsOpen())
        return std::nullopt;
    Pipe answerPipe = CreatePipe();
    const std::shared_ptr<ChildProcess> child =
        ChildProcess::Spawn(words, {}, nothing.Get(), answerPipe.writeEnd.Get(), nothing.Get());
    answerPipe.writeEnd.Close();
    std::string answer;
    const bool answered =
        ReadAnswer(answerPipe.readEnd.Get(), cancelDescriptor, deadline, answerLimit, answer);
    if (!answered)
        child->Kill();
    const ChildExit exit = child->AwaitEnd();
    if (!answered || exit.kind != ChildExit::Kind::Exited || exit.value != 0)
        return std::nullopt;
    return answer;
}

} // namespace

std::optional<double> ReadDurationAnswer(const std::string& answer) {
    const std::size_t end = answer.find_first_of("\r\n");
    const std::string_view text = std::string_view(answer).substr(0, end);
    double seconds = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || stop != text.data() + text.size() || !std::isfinite(seconds) || seconds <= 0)
        return std::nullopt;
    return seconds;
}

std::optional<double> AskSourceDuration(const std::string& encoderPath, const std::string& source,
                                        std::chrono::milliseconds limit, int cancelDescriptor) {
    const std::optional<std::string> answer =
        AskEncoder({encoderPath, "-duration", source}, limit, cancelDescriptor, kDurationAnswerLimit);
    return answer ? ReadDurationAnswer(*answer) : std::nullopt;
}

std::optional<ProbeAnswer> AskSourceProbe(const std::string& encoderPath, const std::string& source,
                                          const std::vector<std::string>& preferenceWords,
                                          std::chrono::milliseconds limit, int cancelDescriptor) {
    std::vector<std::string> words{encoderPath, "-probe"};
    words.insert(words.end(), preferenceWords.begin(), preferenceWords.end());
    words.push_back(source);
    const std::optional<std::string> answer = AskEncoder(words, limit, cancelDescriptor, kProbeAnswerLimit);
    if (!answer)
        return std::nullopt;
    return ReadProbeAnswer(*answer);
}

} // namespace velmora
