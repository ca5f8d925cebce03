#include "engine/RunReportFile.h"

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
#include <utility>
#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kHeader = "velmora run report 1";
// A report is a few lines per file; anything larger is not one of ours.
constexpr std::size_t kLargestFile = 16 * 1024 * 1024;
constexpr std::array<std::string_view, 4> kResults{"converted", "failed", "stopped", "not-reached"};

// Each character a field cannot hold as it is, and the letter that stands for it after a backslash.
constexpr std::array<std::pair<char, char>, 4> kEscapes{
    {{'\\', '\\'}, {'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}}};

std::string Escaped(std::string_view field) {
    std::string text;
    for (const char c : field) {
        const auto escape =
            std::find_if(kEscapes.begin(), kEscapes.end(), [c](auto pair) { return pair.first == c; });
        if (escape == kEscapes.end())
            text += c;
        else
            text += {'\\', escape->second};
    }
    return text;
}

std::optional<std::string> Unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            text += field[i];
            continue;
        }
        const char code = ++i < field.size() ? field[i] : '\0';
        const auto escape =
            std::find_if(kEscapes.begin(), kEscapes.end(), [code](auto pair) { return pair.second == code; });
        if (escape == kEscapes.end())
            return std::nullopt;
        text += escape->first;
    }
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::optional<EntryOutcome> ParseOutcome(std::string_view line) {
    const std::vector<std::string_view> fields = Split(line, '\t');
    // The subtitle notes came later: a line without them is an earlier version's.
    if (fields.size() != 5 && fields.size() != 6)
        return std::nullopt;
    EntryOutcome outcome;
    std::size_t kind = 0;
    while (kind < kResults.size() && kResults[kind] != fields[0])
        ++kind;
    if (kind == kResults.size())
        return std::nullopt;
    outcome.result = static_cast<EntryResult>(kind);
    std::string* targets[] = {&outcome.outputName, &outcome.source, &outcome.reason, &outcome.thumbnailReason,
                              &outcome.subtitleReason};
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        std::optional<std::string> text = Unescaped(fields[i + 1]);
        if (!text)
            return std::nullopt;
        *targets[i] = std::move(*text);
    }
    return outcome;
}

} // namespace

std::string RunReportText(const RunReport& report) {
    std::string text = std::string(kHeader) + "\nqueued\t" + std::to_string(report.queued) + "\n";
    for (const EntryOutcome& outcome : report.outcomes) {
        text += std::string(kResults[static_cast<std::size_t>(outcome.result)]) + "\t" +
                Escaped(outcome.outputName) + "\t" + Escaped(outcome.source) + "\t" +
                Escaped(outcome.reason) + "\t" + Escaped(outcome.thumbnailReason);
        // Written only when there is one, so that a report without one reads as before.
        if (!outcome.subtitleReason.empty()) {
            text += '\t';
            text += Escaped(outcome.subtitleReason);
        }
        text += '\n';
    }
    return text;
}

std::optional<RunReport> ParseRunReportText(std::string_view text) {
    // Every line ends with its line feed: a file cut short is refused.
    if (text.empty() || text.back() != '\n')
        return std::nullopt;
    text.remove_suffix(1);
    const std::vector<std::string_view> lines = Split(text, '\n');
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
    const std::size_t slash = path.rfind('/');
    std::string temporary = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
    const int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    bool written = true;
    try {
        WriteAll(descriptor, RunReportText(report));
    } catch (const std::exception&) {
        written = false;
    }
    // On the disk before the rename: the power goes off right after.
    written = written && fsync(descriptor) == 0;
    const int savedError = errno;
    written = close(descriptor) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = written ? errno : savedError;
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    return true;
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
