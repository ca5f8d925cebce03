#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A job-list entry's identity for as long as it is queued, whatever its position.
using EntryId = std::uint64_t;

// NotReached: an error ended the run before this entry's turn.
enum class EntryResult : std::uint8_t { Converted, Failed, Stopped, NotReached };

// The encoder's loudness marker for sound that could not be measured.
inline constexpr std::string_view kUnmeasuredLoudness = "unmeasured";

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
    // Converted: "M4V<n>" of the part kept earlier, which the new video replaced.
    std::string replacedName{};
    // Converted with leveled sound: its loudness as the encoder measured it, in LUFS ("-23.4"), or
    // "unmeasured" when it could not be measured and was converted as recorded; empty otherwise.
    std::string loudness = {};

    // A failed or unconverted file, or a video without its thumbnail, some subtitles or its sound's
    // leveling: something a person must be told.
    bool NeedsAttention() const {
        return result == EntryResult::Failed || result == EntryResult::NotReached ||
               !thumbnailReason.empty() || !subtitleReason.empty() || !colourReason.empty() ||
               SoundUnmeasured();
    }
    bool SoundUnmeasured() const { return loudness == kUnmeasuredLoudness; }
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
    // Some video replaced the part kept by an earlier run, which the report tells.
    bool ReplacedParts() const {
        return std::any_of(outcomes.begin(), outcomes.end(),
                           [](const EntryOutcome& outcome) { return !outcome.replacedName.empty(); });
    }
};

// The last line an encoder wrote on its standard error, which says why it failed. Pieces may split
// lines anywhere; markers (progress, notes) are not reasons.
class EncoderReason {
public:
    void Clear();
    void Add(std::string_view piece);
    // The reason for an encoder that ended with exitCode (non-zero): its own last line without the
    // "libq7z: " it starts with, or, when it was killed or gave none, what the exit code tells.
    std::string ForExitCode(int exitCode) const;
    // The encoder's notes about subtitles it could not read and left out, one a line, from its
    // subtitle-note markers; empty when there were none.
    std::string SubtitleNotes() const;
    // The encoder's note that the picture's colours may be wrong, from its colour-note marker; empty
    // without one.
    std::string ColourNote() const;
    // The value of the encoder's loudness marker (EntryOutcome::loudness); empty without one.
    std::string Loudness() const;

private:
    void TakeLine(std::string_view line);

    std::string lastLine_;
    std::string pending_;
    std::string subtitleNotes_;
    std::string colourNote_;
    std::string loudness_;
};

} // namespace velmora
