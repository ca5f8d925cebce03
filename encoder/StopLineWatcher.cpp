#include "encoder/StopLineWatcher.h"

#include "encoder/EncoderError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velmora::encoder {

StopLineWatcher::StopLineWatcher(int stopSignals, std::function<void()> onQuit)
    : stopSignals_(stopSignals), onQuit_(std::move(onQuit)) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw EncoderError(std::string("Cannot watch standard input: ") + std::strerror(errno));
    wakeRead_ = ends[0];
    wakeWrite_ = ends[1];
    thread_ = std::thread([this] { Run(); });
}

StopLineWatcher::~StopLineWatcher() {
    // Closing the write end wakes the poll below.
    ::close(wakeWrite_);
    thread_.join();
    ::close(wakeRead_);
}

bool StopLineWatcher::IsStopLine(const std::string& line) {
    size_t first = line.find_first_not_of(" \t\r\n");
    size_t last = line.find_last_not_of(" \t\r\n");
    return first != std::string::npos && line.compare(first, last - first + 1, "quit") == 0;
}

bool StopLineScanner::Feed(std::string_view bytes) {
    for (size_t end; (end = bytes.find('\n')) != std::string_view::npos; bytes.remove_prefix(end + 1)) {
        const bool stop = !overlong_ && pending_.size() + end <= kLongestLine &&
                          StopLineWatcher::IsStopLine(pending_.append(bytes.substr(0, end)));
        pending_.clear();
        overlong_ = false;
        if (stop)
            return true;
    }
    overlong_ = overlong_ || pending_.size() + bytes.size() > kLongestLine;
    if (overlong_)
        pending_.clear();
    else
        pending_.append(bytes);
    return false;
}

bool StopLineScanner::EndsWithStopLine() const {
    return !overlong_ && StopLineWatcher::IsStopLine(pending_);
}

void StopLineWatcher::Run() {
    StopLineScanner scanner;
    char buffer[1024];
    // Negative descriptors are left out by poll: standard input once it has ended, absent signals.
    pollfd watched[3] = {{wakeRead_, POLLIN, 0}, {stopSignals_, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[0].revents != 0)
            return;
        if (watched[1].revents != 0) {
            onQuit_();
            return;
        }
        if (watched[2].revents == 0)
            continue;
        ssize_t count = (watched[2].revents & POLLNVAL) ? 0 : ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count <= 0) {
            // The last line may lack its line feed.
            if (scanner.EndsWithStopLine()) {
                onQuit_();
                return;
            }
            // A stop signal may still come.
            watched[2].fd = -1;
            continue;
        }
        if (scanner.Feed(std::string_view(buffer, static_cast<size_t>(count)))) {
            onQuit_();
            return;
        }
    }
}

} // namespace velmora::encoder
