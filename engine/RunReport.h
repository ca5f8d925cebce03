#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A job-list entry's identity for as long as it is queued, whatever its position.
using EntryId = std::uint64_t;

// NotReached: an error ended the run before this entry's turn.
enum class EntryResult : std::uint8_t { Converted, Failed, Stopped, NotReached };

// How one entry of a run ended.
struct EntryOutcome {
    EntryId entry = 0;
    EntryResult result = EntryResult::Converted;
    // The source path as queued.
    std::string source;
    // "M4V<n>" of the video left in the output folder; empty when none was kept.
    std::string outputName;
    // Failed: why, in the encoder's words.
    std::string reason;
    // Converted without its thumbnail: why the thumbnail could not be made.
    std::string thumbnailReason;
    // Converted, but subtitles the encoder could not read were left out: its notes, one a line.
    std::string subtitleReason;
    // With a video kept: how far it reaches and how long the source plays, in whole seconds (0 when
    // the encoder did not tell).
    std::int64_t reachedSeconds = 0;
    std::int64_t lengthSeconds = 0;
    // Converted, but its colours may be wrong (Dolby Vision profile 5): the encoder's note.
    std::string colourReason{};

    // A failed or unconverted file, or a video without its thumbnail or some subtitles: something a
    // person must be told.
    bool NeedsAttention() const {
        return result == EntryResult::Failed || result == EntryResult::NotReached ||
               !thumbnailReason.empty() || !subtitleReason.empty() || !colourReason.empty();
    }
};

// Every entry a run reached, in the order it reached them.
struct RunReport {
    int queued = 0; // entries when the run started
    std::vector<EntryOutcome> outcomes;

    int Converted() const;
    int Failed() const;
    bool AllConverted() const;
    // Some outcome needs attention.
    bool HasProblems() const;
};

// The last line an encoder wrote on its standard error, which says why it failed. Pieces may split
// lines anywhere; progress markers are not reasons.
class EncoderReason {
public:
    void Clear();
    void Add(std::string_view piece);
    // The reason for an encoder that ended with exitCode (non-zero): its own last line without the
    // "libq7z: " it starts with, or, when it was killed or gave none, what the exit code tells.
    std::string ForExitCode(int exitCode) const;
    // The encoder's notes about subtitles it could not read and left out, without "libq7z: ", one a
    // line; empty when there were none. They are the lines that start with "libq7z: Sidecar '" or
    // "libq7z: Subtitle stream " and say "could not be read: ".
    std::string SubtitleNotes() const;
    // The encoder's note that the picture's colours may be wrong, without "libq7z: "; empty without.
    std::string ColourNote() const;

private:
    void TakeLine(std::string_view line);

    std::string lastLine_;
    std::string pending_;
    std::string subtitleNotes_;
    std::string colourNote_;
};

} // namespace velmora
