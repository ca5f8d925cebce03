#pragma once

#include "platform/ProfileFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// config.ini's "[setting] cropBlackBars": 0 keeps the source's black bars; 1, and anything else, crops
// them, so that a missing or mistyped value means the default.
bool ReadCropBlackBars(const ProfileFile& config);
void WriteCropBlackBars(const ProfileFile& config, bool crop);

// What the encoder found of a source's black bars, once per entry: the part of the picture to keep,
// or why nothing is cropped.
struct CropFinding {
    enum class Outcome { Found, NoBars, TooShort, TooDark, Undecodable };
    Outcome outcome = Outcome::NoBars;
    int width = 0; // Found: the part kept, in the decoded picture's pixels
    int height = 0;
    int left = 0;
    int top = 0;

    // Whether the bars were judged: a source too short, too dark or unreadable was not.
    bool Judged() const { return outcome == Outcome::Found || outcome == Outcome::NoBars; }
    bool operator==(const CropFinding&) const = default;
};

// The encoder's line "crop 640x272 0 104" or "crop none REASON", split at blanks; nothing for another
// line or an unknown reason.
std::optional<CropFinding> ReadCropFact(const std::vector<std::string_view>& words);

// The words the thumbnail, video and preview lines get: "-crop off" when not wanted or nothing to cut,
// the rectangle found ("-crop 640x272:0:104"), or "-crop auto" while the entry is not yet probed.
std::vector<std::string> CropWords(bool crop, const std::optional<CropFinding>& found = std::nullopt);

} // namespace velmora
