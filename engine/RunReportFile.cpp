#include "engine/RunReportFile.h"

#include "engine/EscapedFields.h"
#include "platform/AtomicFileWrite.h"
#include "platform/DescriptorIO.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <exception>
#include <iterator>
#include <utility>
#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kHeader = "velmora run report 1";
// A report is a few lines per file; anything larger is not one of ours.
constexpr std::size_t kLargestFile = 16 * 1024 * 1024;

// <result> then these texts, tab-separated. Those from the subtitle notes on came later, one at a time:
// each is written only when it or one after it says something, so that a line without them reads as
// an earlier version wrote it, and an earlier version's line reads as before.
constexpr std::string EntryOutcome::*kTexts[] = {
    &EntryOutcome::outputName,      &EntryOutcome::source,         &EntryOutcome::reason,
    &EntryOutcome::thumbnailReason, &EntryOutcome::subtitleReason, &EntryOutcome::colourReason,
    &EntryOutcome::loudness,        &EntryOutcome::replacedName};
constexpr std::size_t kAlwaysWritten = 4;

std::optional<EntryOutcome> ParseOutcome(std::string_view line) {
    const std::vector<std::string_view> fields = SplitFields(line, '\t');
    if (fields.size() < 1 + kAlwaysWritten || fields.size() > 1 + std::size(kTexts))
        return std::nullopt;
    EntryOutcome outcome;
    const std::optional<EntryResult> result = EntryResultFromWord(fields[0]);
    if (!result)
        return std::nullopt;
    outcome.result = *result;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        std::optional<std::string> text = UnescapedField(fields[i]);
        if (!text)
            return std::nullopt;
        outcome.*kTexts[i - 1] = std::move(*text);
    }
    return outcome;
}

} // namespace

std::string RunReportText(const RunReport& report) {
    std::string text = std::string(kHeader) + "\nqueued\t" + std::to_string(report.queued) + "\n";
    for (const EntryOutcome& outcome : report.outcomes) {
        std::size_t written = std::size(kTexts);
        while (written > kAlwaysWritten && (outcome.*kTexts[written - 1]).empty())
            --written;
        text += EntryResultWord(outcome.result);
        for (std::size_t i = 0; i < written; ++i)
            text += '\t' + EscapedField(outcome.*kTexts[i]);
        text += '\n';
    }
    return text;
}

std::optional<RunReport> ParseRunReportText(std::string_view text) {
    // Every line ends with its line feed: a file cut short is refused.
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    text.remove_suffix(1);
    const std::vector<std::string_view> lines = SplitFields(text, '\n');
    constexpr std::string_view queuedKey = "queued\t";
    if (lines.size() < 2 || lines[0] != kHeader || lines[1].substr(0, queuedKey.size()) != queuedKey)
        return std::nullopt;
    RunReport report;
    const std::string_view count = lines[1].substr(queuedKey.size());
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), report.queued);
    if (error != std::errc() || end != count.data() + count.size() || report.queued < 0)
        return std::nullopt;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::optional<EntryOutcome> outcome = ParseOutcome(lines[i]);
        if (!outcome)
            return std::nullopt;
        outcome->entry = i - 1;
        report.outcomes.push_back(std::move(*outcome));
    }
    return report;
}

bool WriteRunReportFile(const std::string& path, const RunReport& report) {
    return ReplaceFileAtomically(path, RunReportText(report));
}

std::optional<RunReport> ReadRunReportFile(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return std::nullopt;
    std::string content;
    struct stat info = {};
    const bool read = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
                      ReadToEnd(descriptor, kLargestFile, content) == 0;
    close(descriptor);
    if (!read)
        return std::nullopt;
    return ParseRunReportText(content);
}

} // namespace velmora
