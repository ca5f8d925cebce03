#include "engine/RunReport.h"

#include "engine/MarkerText.h"

#include <algorithm>
#include <csignal>
#include <cstring>

namespace velmora {

namespace {

// A runaway line is cut rather than held whole; reasons are one short sentence.
constexpr std::size_t kLongestLine = 2000;
constexpr std::string_view kEncoderPrefix = "libq7z: ";
const std::string kLoudnessOpen = "ffmpeg_release_loudness=";
const std::string kLoudnessClose = "=ffmpeg_release_loudness";

// Markers, progress and notes alike, are no reasons.
bool IsProgress(std::string_view line) {
    return line.find("ffmpeg_release_") != std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

int RunReport::Converted() const {
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(), [](const EntryOutcome& outcome) {
        return outcome.result == EntryResult::Converted;
    }));
}

int RunReport::Failed() const {
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(), [](const EntryOutcome& outcome) {
        return outcome.result == EntryResult::Failed;
    }));
}

bool RunReport::AllConverted() const {
    return Converted() == static_cast<int>(outcomes.size());
}

bool RunReport::HasProblems() const {
    return std::any_of(outcomes.begin(), outcomes.end(),
                       [](const EntryOutcome& outcome) { return outcome.NeedsAttention(); });
}

void EncoderReason::Clear() {
    lastLine_.clear();
    pending_.clear();
    subtitleNotes_.clear();
    colourNote_.clear();
    loudness_.clear();
}

void EncoderReason::Add(std::string_view piece) {
    for (;;) {
        const std::size_t end = piece.find_first_of("\r\n");
        if (end == std::string_view::npos)
            break;
        pending_.append(piece.substr(0, std::min(end, kLongestLine)));
        TakeLine(pending_);
        pending_.clear();
        piece.remove_prefix(end + 1);
    }
    pending_.append(piece.substr(0, kLongestLine - std::min(pending_.size(), kLongestLine)));
}

void EncoderReason::TakeLine(std::string_view line) {
    line = Trimmed(line);
    if (!line.empty() && !IsProgress(line))
        lastLine_.assign(line.substr(0, kLongestLine));
    const std::string loudness = ExtractMarkerValue(kLoudnessOpen, kLoudnessClose, std::string(line));
    if (!loudness.empty())
        loudness_ = loudness;
    const std::string note = SubtitleNoteIn(std::string(line));
    if (!note.empty())
        subtitleNotes_.append(subtitleNotes_.empty() ? "" : "\n").append(note);
    const std::string colourNote = ColourNoteIn(std::string(line));
    if (!colourNote.empty())
        colourNote_ = colourNote;
}

std::string EncoderReason::ForExitCode(int exitCode) const {
    // Killed, by the runner's stop (4) or a signal: whatever it wrote last is no reason.
    if (exitCode == 4)
        return "The encoder was killed before it finished";
    if (exitCode > 128 && exitCode < 128 + NSIG)
        return std::string("The encoder ended abnormally (") + strsignal(exitCode - 128) + ")";
    std::string_view line = lastLine_;
    std::string_view unfinished = Trimmed(pending_);
    if (!unfinished.empty() && !IsProgress(unfinished))
        line = unfinished;
    if (line.substr(0, kEncoderPrefix.size()) == kEncoderPrefix)
        line.remove_prefix(kEncoderPrefix.size());
    if (!line.empty())
        return std::string(line);
    return "The encoder ended with exit code " + std::to_string(exitCode) + " and gave no reason";
}

std::string EncoderReason::SubtitleNotes() const {
    return subtitleNotes_;
}

std::string EncoderReason::ColourNote() const {
    return colourNote_;
}

std::string EncoderReason::Loudness() const {
    return loudness_;
}

} // namespace velmora
