#include "engine/KeptQueue.h"

#include "engine/EscapedFields.h"
#include "platform/BoundedFileRead.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <utility>

namespace velmora {

namespace {

// The versions read, the one written first. Version 2 added the colour note, the loudness and the
// replaced part to each entry's fields; a file an earlier version kept reads as it always did.
struct QueueFormat {
    std::string_view header;
    std::size_t entryFields;
};
constexpr QueueFormat kFormats[] = {{"velmora queue 2", 13}, {"velmora queue 1", 10}};
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

constexpr std::size_t kPartFields = 3;

// entry <source> <duration> <result> <output name> <reason> <thumbnail reason> <subtitle notes>
// <seconds reached> <length in seconds> [<colour note> <loudness> <replaced part>] [<kept part>...]:
// where each of an outcome's fields stands, read only when the file's format has it.
template <typename Value> struct OutcomeField {
    std::size_t at;
    Value EntryOutcome::*member;
};
constexpr OutcomeField<std::string> kOutcomeTexts[] = {
    {4, &EntryOutcome::outputName},      {5, &EntryOutcome::reason},
    {6, &EntryOutcome::thumbnailReason}, {7, &EntryOutcome::subtitleReason},
    {10, &EntryOutcome::colourReason},   {11, &EntryOutcome::loudness},
    {12, &EntryOutcome::replacedName}};
// How much of a stopped file was kept.
constexpr OutcomeField<std::int64_t> kOutcomeSeconds[] = {{8, &EntryOutcome::reachedSeconds},
                                                          {9, &EntryOutcome::lengthSeconds}};

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
bool ParseParts(const std::vector<std::string_view>& fields, std::size_t first,
                std::vector<KeptPart>& parts) {
    for (std::size_t at = first; at + kPartFields <= fields.size(); at += kPartFields) {
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

// An entry's line in a file whose entries have entryFields fields before their kept parts.
std::optional<KeptEntry> ParseEntry(const std::vector<std::string_view>& fields, std::size_t entryFields) {
    if (fields.size() < entryFields || (fields.size() - entryFields) % kPartFields != 0)
        return std::nullopt;
    std::optional<std::string> source = UnescapedField(fields[1]);
    EntryOutcome outcome;
    for (const auto& [at, member] : kOutcomeTexts) {
        std::optional<std::string> text = at < entryFields ? UnescapedField(fields[at]) : std::string();
        if (!text)
            return std::nullopt;
        outcome.*member = std::move(*text);
    }
    KeptEntry entry;
    if (!source || (fields[2] != kNone && !(entry.duration = NumberFrom<double>(fields[2]))) ||
        !ParseParts(fields, entryFields, entry.parts))
        return std::nullopt;
    entry.source = std::move(*source);
    if (fields[3] == kNone)
        return entry;
    const std::optional<EntryResult> result = EntryResultFromWord(fields[3]);
    if (!result)
        return std::nullopt;
    for (const auto& [at, member] : kOutcomeSeconds) {
        const std::optional<std::int64_t> seconds = NumberFrom<std::int64_t>(fields[at]);
        if (!seconds)
            return std::nullopt;
        outcome.*member = *seconds;
    }
    outcome.result = *result;
    outcome.source = entry.source;
    entry.outcome = std::move(outcome);
    return entry;
}

// The entry's fields in the format written, then its kept parts.
std::string EntryLine(const KeptEntry& entry) {
    static const EntryOutcome none;
    const EntryOutcome& shown = entry.outcome ? *entry.outcome : none;
    std::string fields[kFormats[0].entryFields];
    fields[0] = "entry";
    fields[1] = EscapedField(entry.source);
    char number[64];
    fields[2] = entry.duration
                    ? std::string(number, std::to_chars(number, number + sizeof number, *entry.duration).ptr)
                    : std::string(kNone);
    fields[3] = entry.outcome ? EntryResultWord(entry.outcome->result) : kNone;
    for (const auto& [at, member] : kOutcomeTexts)
        fields[at] = EscapedField(shown.*member);
    for (const auto& [at, member] : kOutcomeSeconds)
        fields[at] = std::to_string(shown.*member);
    std::string line = fields[0];
    for (std::size_t i = 1; i < std::size(fields); ++i)
        line += '\t' + fields[i];
    for (const KeptPart& part : entry.parts) {
        AppendField(line, part.video);
        AppendNumber(line, part.identity.device);
        AppendNumber(line, part.identity.inode);
    }
    return line + '\n';
}

} // namespace

std::string KeptQueueText(const KeptQueue& queue) {
    std::string text(kFormats[0].header);
    text += '\n';
    for (const KeptEntry& entry : queue.entries)
        text += EntryLine(entry);
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
    const auto format = std::find_if(std::begin(kFormats), std::end(kFormats),
                                     [&](const QueueFormat& each) { return lines.front() == each.header; });
    if (lines.size() < 2 || format == std::end(kFormats))
        return std::nullopt;
    KeptQueue queue;
    bool writingSeen = false;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string_view> fields = SplitFields(lines[i], '\t');
        if (fields[0] == "entry" && !writingSeen) {
            std::optional<KeptEntry> entry = ParseEntry(fields, format->entryFields);
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
