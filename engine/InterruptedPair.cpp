#include "engine/InterruptedPair.h"

#include "engine/OutputFiles.h"
#include "engine/PairIdentity.h"
#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

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

struct Box {
    std::string_view type;
    std::uint64_t body = 0; // where its content starts
    std::uint64_t end = 0;
};

// The boxes from `at` to `end`, one after another exactly; nothing when they do not fit so.
std::optional<std::vector<Box>> BoxesIn(int file, std::uint64_t at, std::uint64_t end) {
    static constexpr std::string_view kTypes[] = {"moov", "mvhd"};
    std::vector<Box> boxes;
    while (at < end) {
        unsigned char header[16];
        if (end - at < 8 || pread(file, header, 16, static_cast<off_t>(at)) < 8)
            return std::nullopt;
        std::uint64_t length = BigEndian(header, 4);
        std::uint64_t headerLength = 8;
        if (length == 1) {
            if (end - at < 16)
                return std::nullopt;
            length = BigEndian(header + 8, 8);
            headerLength = 16;
        } else if (length == 0) {
            // "Up to the end of the file": what a writer leaves before it knows the length.
            length = end - at;
        }
        if (length < headerLength || length > end - at)
            return std::nullopt;
        const std::string_view type(reinterpret_cast<const char*>(header + 4), 4);
        Box box{"", at + headerLength, at + length};
        for (const std::string_view known : kTypes)
            if (type == known)
                box.type = known;
        boxes.push_back(box);
        at += length;
    }
    return boxes;
}

const Box* Find(const std::vector<Box>& boxes, std::string_view type) {
    for (const Box& box : boxes)
        if (box.type == type)
            return &box;
    return nullptr;
}

struct MovieHeader {
    std::uint64_t timescale = 0;
    std::uint64_t duration = 0;
};

// The movie header of a regular file (not a link) whose top-level boxes follow one another exactly to
// its end and include the index ('moov'). A video whose writing was cut short has none: its encoder
// writes the index last. Only box headers and the movie header are read.
std::optional<MovieHeader> ReadMovieHeader(const std::string& path) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status = {};
    if (!file.IsOpen() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const std::optional<std::vector<Box>> top =
        BoxesIn(file.Get(), 0, static_cast<std::uint64_t>(status.st_size));
    const Box* index = top ? Find(*top, "moov") : nullptr;
    if (index == nullptr)
        return std::nullopt;
    MovieHeader header;
    const std::optional<std::vector<Box>> inside = BoxesIn(file.Get(), index->body, index->end);
    const Box* movie = inside ? Find(*inside, "mvhd") : nullptr;
    unsigned char bytes[32];
    if (movie == nullptr || movie->end - movie->body < 20 ||
        pread(file.Get(), bytes, sizeof bytes, static_cast<off_t>(movie->body)) < 20)
        return header;
    // Version 1 has 64-bit times and length; version 0 32-bit ones.
    if (bytes[0] == 1 && movie->end - movie->body >= 32)
        header = {BigEndian(bytes + 20, 4), BigEndian(bytes + 24, 8)};
    else if (bytes[0] == 0)
        header = {BigEndian(bytes + 12, 4), BigEndian(bytes + 16, 4)};
    return header;
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
    return ReadMovieHeader(path).has_value();
}

std::optional<double> Mp4Seconds(const std::string& path) {
    const std::optional<MovieHeader> header = ReadMovieHeader(path);
    if (!header || header->timescale == 0)
        return std::nullopt;
    return static_cast<double>(header->duration) / header->timescale;
}

std::optional<SettledPair> SettleInterruptedPair(KeptQueue& queue, std::chrono::milliseconds settle) {
    if (!queue.writing)
        return std::nullopt;
    const PairBeingWritten pair = std::move(*queue.writing);
    queue.writing.reset();
    KeptEntry& entry = queue.entries.at(pair.entry);
    SettledPair settled{entry.source, {}, false};
    EntryOutcome& outcome = entry.outcome.emplace();
    outcome.result = EntryResult::Stopped;
    outcome.source = entry.source;
    // Anything but the files the run created, under an output pair's names, stays untouched.
    const std::optional<FileIdentity> video = IdentityOf(pair.video);
    if (!IsOutputName(pair.video, ".MP4") || pair.thumbnail != ThumbnailPathFor(pair.video) ||
        !IsOutputName(pair.thumbnail, ".THM") || (video && *video != pair.videoIdentity))
        return settled;
    if (video)
        WaitWhileChanging(pair.video, settle);
    if (!video || !IsCompleteMp4(pair.video)) {
        RemoveIfStill(pair.video, pair.videoIdentity);
        RemoveIfStill(pair.thumbnail, pair.thumbnailIdentity);
        return settled;
    }
    settled.keptName = OutputPair{pair.video, pair.thumbnail}.Name();
    outcome.outputName = settled.keptName;
    const std::optional<double> seconds = Mp4Seconds(pair.video);
    if (seconds && entry.duration && std::abs(*seconds - *entry.duration) <= 1) {
        outcome.result = EntryResult::Converted;
        settled.converted = true;
        return settled;
    }
    outcome.reachedSeconds = seconds ? std::llround(*seconds) : 0;
    outcome.lengthSeconds = entry.duration ? std::llround(*entry.duration) : 0;
    entry.parts.push_back({pair.video, pair.videoIdentity});
    return settled;
}

void FillKeptLengths(KeptQueue& queue) {
    for (KeptEntry& entry : queue.entries) {
        if (!entry.outcome || entry.outcome->result != EntryResult::Stopped ||
            entry.outcome->reachedSeconds > 0)
            continue;
        for (const KeptPart& part : entry.parts)
            if (OutputPair{part.video, {}}.Name() == entry.outcome->outputName &&
                IdentityOf(part.video) == part.identity)
                if (const std::optional<double> seconds = Mp4Seconds(part.video))
                    entry.outcome->reachedSeconds = std::llround(*seconds);
    }
}

} // namespace velmora
