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

// entry <source> <duration> <result> <output name> <reason> <thumbnail reason> <subtitle notes>
// <seconds reached> <length in seconds>; the last two tell how much of a stopped file was kept.
std::optional<KeptEntry> ParseEntry(const std::vector<std::string_view>& fields) {
    if (fields.size() != 10)
        return std::nullopt;
    // The source, then the four texts after the result.
    std::optional<std::string> texts[5];
    for (std::size_t i = 0; i < 5; ++i)
        if (!(texts[i] = UnescapedField(fields[i == 0 ? 1 : i + 3])))
            return std::nullopt;
    KeptEntry entry;
    entry.source = std::move(*texts[0]);
    if (fields[2] != kNone && !(entry.duration = NumberFrom<double>(fields[2])))
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
        text += '\n';
    }
    if (queue.writing) {
        text += "writing\t";
        text += std::to_string(queue.writing->entry);
        AppendField(text, queue.writing->video);
        AppendField(text, queue.writing->thumbnail);
        text += '\n';
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
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string_view> fields = SplitFields(lines[i], '\t');
        if (fields[0] == "entry" && !queue.writing) {
            std::optional<KeptEntry> entry = ParseEntry(fields);
            if (!entry)
                return std::nullopt;
            queue.entries.push_back(std::move(*entry));
            continue;
        }
        if (fields[0] != "writing" || fields.size() != 4 || queue.writing)
            return std::nullopt;
        const std::optional<std::size_t> entry = NumberFrom<std::size_t>(fields[1]);
        std::optional<std::string> video = UnescapedField(fields[2]);
        std::optional<std::string> thumbnail = UnescapedField(fields[3]);
        if (!entry || !video || !thumbnail)
            return std::nullopt;
        queue.writing = PairBeingWritten{*entry, std::move(*video), std::move(*thumbnail)};
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
