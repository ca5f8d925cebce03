#include "engine/InterruptedPair.h"

#include "engine/OutputFiles.h"
#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <thread>
#include <utility>

namespace velmora {

namespace {

std::uint64_t BigEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// "M4V" and digits, then ".MP4" or ".THM": a name ReserveOutputPair gives.
bool IsOutputName(const std::string& path, std::string_view extension) {
    const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
    if (name.size() <= 3 + extension.size() || name.substr(0, 3) != "M4V" ||
        name.substr(name.size() - extension.size()) != extension)
        return false;
    const std::string_view digits = name.substr(3, name.size() - 3 - extension.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

struct FileState {
    off_t size = -1;
    timespec changed = {};
    bool operator==(const FileState& other) const {
        return size == other.size && changed.tv_sec == other.changed.tv_sec &&
               changed.tv_nsec == other.changed.tv_nsec;
    }
};

FileState StateOf(const std::string& path) {
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0)
        return {};
    return {status.st_size, status.st_mtim};
}

// An encoder whose program died finishes its video on its own, within moments: a file still changing
// is given that time.
void WaitWhileChanging(const std::string& path, std::chrono::milliseconds settle) {
    constexpr std::chrono::milliseconds step{250};
    const auto deadline = std::chrono::steady_clock::now() + settle;
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    FileState last = StateOf(path);
    if (last.size < 0 || now.tv_sec - last.changed.tv_sec > 2)
        return;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(step);
        const FileState state = StateOf(path);
        if (state == last)
            return;
        last = state;
    }
}

} // namespace

bool IsCompleteMp4(const std::string& path) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status = {};
    if (!file.IsOpen() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const std::uint64_t size = static_cast<std::uint64_t>(status.st_size);
    bool indexed = false;
    std::uint64_t at = 0;
    while (at < size) {
        unsigned char header[16];
        if (size - at < 8 || pread(file.Get(), header, 16, static_cast<off_t>(at)) < 8)
            return false;
        std::uint64_t length = BigEndian(header, 4);
        std::uint64_t headerLength = 8;
        if (length == 1) {
            if (size - at < 16)
                return false;
            length = BigEndian(header + 8, 8);
            headerLength = 16;
        } else if (length == 0) {
            // "Up to the end of the file": what a writer leaves before it knows the length.
            length = size - at;
        }
        if (length < headerLength || length > size - at)
            return false;
        indexed = indexed || std::string_view(reinterpret_cast<const char*>(header + 4), 4) == "moov";
        at += length;
    }
    return indexed;
}

std::optional<SettledPair> SettleInterruptedPair(KeptQueue& queue, std::chrono::milliseconds settle) {
    if (!queue.writing)
        return std::nullopt;
    const PairBeingWritten pair = std::move(*queue.writing);
    queue.writing.reset();
    KeptEntry& entry = queue.entries.at(pair.entry);
    SettledPair settled{entry.source, {}};
    // Anything but a pair of ours stays untouched.
    if (!IsOutputName(pair.video, ".MP4") || pair.thumbnail != ThumbnailPathFor(pair.video) ||
        !IsOutputName(pair.thumbnail, ".THM"))
        return settled;
    WaitWhileChanging(pair.video, settle);
    EntryOutcome& outcome = entry.outcome.emplace();
    outcome.result = EntryResult::Stopped;
    outcome.source = entry.source;
    if (IsCompleteMp4(pair.video)) {
        settled.keptName = OutputPair{pair.video, pair.thumbnail}.Name();
        outcome.outputName = settled.keptName;
    } else {
        RemoveOutputFile(pair.video);
        RemoveOutputFile(pair.thumbnail);
    }
    return settled;
}

} // namespace velmora
