#include "engine/KeptQueue.h"

#include "engine/EscapedFields.h"
#include "platform/BoundedFileRead.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace velmora {

namespace {

constexpr std::string_view kHeader = "velmora queue 1";
// 10,000 entries take about 1 MiB; a file far larger is not one of ours.
constexpr std::size_t kLargestFile = 256 * 1024 * 1024;
constexpr std::string_view kNone = "-";

void AppendField(std::string& text, std::string_view field) {
    text += '\t';
    text += EscapedField(field);
}

template <typename Number> std::optional<Number> NumberFrom(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return number;
}

constexpr std::size_t kEntryFields = 10;
constexpr std::size_t kPartFields = 3;

// FNV-1a: enough to tell a damaged record from an intact one.
std::string Checksum(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char digits[17];
    for (int i = 15; i >= 0; --i, hash >>= 4)
        digits[i] = "0123456789abcdef"[hash & 15];
    return std::string(digits, 16);
}

void AppendNumber(std::string& text, std::uint64_t number) {
    text += '\t';
    text += std::to_string(number);
}

// <video> <device> <inode>, as many times as parts are kept.
bool ParseParts(const std::vector<std::string_view>& fields, std::vector<KeptPart>& parts) {
    for (std::size_t at = kEntryFields; at + kPartFields <= fields.size(); at += kPartFields) {
        std::optional<std::string> video = UnescapedField(fields[at]);
        const auto device = NumberFrom<std::uint64_t>(fields[at + 1]);
        const auto inode = NumberFrom<std::uint64_t>(fields[at + 2]);
        if (!video || !device || !inode)
            return false;
        parts.push_back({std::move(*video), {*device, *inode}});
    }
    return true;
}

// writing <entry> <video> <thumbnail> <device> <video inode> <thumbnail inode> <checksum of the rest>
std::optional<PairBeingWritten> ParseWriting(std::string_view line,
                                             const std::vector<std::string_view>& fields) {
    if (fields.size() != 8 || Checksum(line.substr(0, line.rfind('\t'))) != fields[7])
        return std::nullopt;
    const auto entry = NumberFrom<std::size_t>(fields[1]);
    std::optional<std::string> video = UnescapedField(fields[2]);
    std::optional<std::string> thumbnail = UnescapedField(fields[3]);
    const auto device = NumberFrom<std::uint64_t>(fields[4]);
    const auto videoInode = NumberFrom<std::uint64_t>(fields[5]);
    const auto thumbnailInode = NumberFrom<std::uint64_t>(fields[6]);
    if (!entry || !video || !thumbnail || !device || !videoInode || !thumbnailInode)
        return std::nullopt;
    return PairBeingWritten{
        *entry, std::move(*video), std::move(*thumbnail), {*device, *videoInode}, {*device, *thumbnailInode}};
}

// entry <source> <duration> <result> <output name> <reason> <thumbnail reason> <subtitle notes>
// <seconds reached> <length in seconds> [<kept part>...]; seconds reached and length tell how much of a
// stopped file was kept.
std::optional<KeptEntry> ParseEntry(const std::vector<std::string_view>& fields) {
    if (fields.size() < kEntryFields || (fields.size() - kEntryFields) % kPartFields != 0)
        return std::nullopt;
    // The source, then the four texts after the result.
    std::optional<std::string> texts[5];
    for (std::size_t i = 0; i < 5; ++i)
        if (!(texts[i] = UnescapedField(fields[i == 0 ? 1 : i + 3])))
            return std::nullopt;
    KeptEntry entry;
    entry.source = std::move(*texts[0]);
    if ((fields[2] != kNone && !(entry.duration = NumberFrom<double>(fields[2]))) ||
        !ParseParts(fields, entry.parts))
        return std::nullopt;
    if (fields[3] == kNone)
        return entry;
    const std::optional<EntryResult> result = EntryResultFromWord(fields[3]);
    if (!result)
        return std::nullopt;
    EntryOutcome& outcome = entry.outcome.emplace();
    outcome.result = *result;
    outcome.source = entry.source;
    outcome.outputName = std::move(*texts[1]);
    outcome.reason = std::move(*texts[2]);
    outcome.thumbnailReason = std::move(*texts[3]);
    outcome.subtitleReason = std::move(*texts[4]);
    const std::optional<std::int64_t> reached = NumberFrom<std::int64_t>(fields[8]);
    const std::optional<std::int64_t> length = NumberFrom<std::int64_t>(fields[9]);
    if (!reached || !length)
        return std::nullopt;
    outcome.reachedSeconds = *reached;
    outcome.lengthSeconds = *length;
    return entry;
}

} // namespace

std::string KeptQueueText(const KeptQueue& queue) {
    std::string text(kHeader);
    text += '\n';
    char number[64];
    for (const KeptEntry& entry : queue.entries) {
        text += "entry";
        AppendField(text, entry.source);
        text += '\t';
        if (entry.duration)
            text.append(number, std::to_chars(number, number + sizeof number, *entry.duration).ptr);
        else
            text += kNone;
        const EntryOutcome* outcome = entry.outcome ? &*entry.outcome : nullptr;
        text += '\t';
        text += outcome != nullptr ? EntryResultWord(outcome->result) : kNone;
        static const EntryOutcome none;
        const EntryOutcome& shown = outcome != nullptr ? *outcome : none;
        for (const std::string* field :
             {&shown.outputName, &shown.reason, &shown.thumbnailReason, &shown.subtitleReason})
            AppendField(text, *field);
        for (const std::int64_t seconds : {shown.reachedSeconds, shown.lengthSeconds}) {
            text += '\t';
            text += std::to_string(seconds);
        }
        for (const KeptPart& part : entry.parts) {
            AppendField(text, part.video);
            AppendNumber(text, part.identity.device);
            AppendNumber(text, part.identity.inode);
        }
        text += '\n';
    }
    if (const std::optional<PairBeingWritten>& pair = queue.writing) {
        std::string line = "writing\t" + std::to_string(pair->entry);
        AppendField(line, pair->video);
        AppendField(line, pair->thumbnail);
        for (const std::uint64_t number :
             {pair->videoIdentity.device, pair->videoIdentity.inode, pair->thumbnailIdentity.inode})
            AppendNumber(line, number);
        text += line + '\t' + Checksum(line) + '\n';
    }
    text += "end\t";
    text += std::to_string(queue.entries.size());
    text += '\n';
    return text;
}

std::optional<KeptQueue> ParseKeptQueueText(std::string_view text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    text.remove_suffix(1);
    const std::vector<std::string_view> lines = SplitFields(text, '\n');
    if (lines.size() < 2 || lines.front() != kHeader)
        return std::nullopt;
    KeptQueue queue;
    bool writingSeen = false;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string_view> fields = SplitFields(lines[i], '\t');
        if (fields[0] == "entry" && !writingSeen) {
            std::optional<KeptEntry> entry = ParseEntry(fields);
            if (!entry)
                return std::nullopt;
            queue.entries.push_back(std::move(*entry));
            continue;
        }
        if (fields[0] != "writing" || writingSeen)
            return std::nullopt;
        writingSeen = true;
        // A record that fails its check is left out, the list kept: nothing is removed on its word.
        queue.writing = ParseWriting(lines[i], fields);
    }
    // The closing line's count catches a file that lost lines.
    const std::vector<std::string_view> end = SplitFields(lines.back(), '\t');
    if (end.size() != 2 || end[0] != "end" || NumberFrom<std::size_t>(end[1]) != queue.entries.size() ||
        (queue.writing && queue.writing->entry >= queue.entries.size()))
        return std::nullopt;
    return queue;
}

KeptQueueRead ReadKeptQueueFile(const std::string& path) {
    KeptQueueRead read;
    std::string content;
    const BoundedRead file = ReadBoundedRegularFile(path, kLargestFile, content);
    if (file.Missing()) {
        read.missing = true;
        return read;
    }
    std::optional<KeptQueue> queue;
    if (file.Succeeded())
        queue = ParseKeptQueueText(content);
    if (queue)
        read.queue = std::move(*queue);
    else
        read.damaged = true;
    return read;
}

} // namespace velmora
