#pragma once

#include <optional>
#include <string>

namespace velmora::encoder {

// The part of the decoded picture that is kept, in the decoded picture's own pixels (before any
// rotation or sample-aspect correction). Even left/top/width/height.
struct CropRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const CropRect&) const = default;
};

// What a search for black bars found, and why nothing when nothing.
struct BarSearch {
    enum class Outcome { Found, NoBars, TooShort, TooDark, Undecodable };
    Outcome outcome = Outcome::Undecodable;
    std::optional<CropRect> crop; // Found: the part kept

    bool operator==(const BarSearch&) const = default;
};

// Samples pictures spread over the source (seek + decode a few; no full pass), and the bars' lines in
// many more. Never throws: a source it cannot open or decode is Undecodable.
BarSearch SearchBlackBars(const std::string& source);

// The line -probe and -preview tell a search's outcome in: "crop 640x272 0 104" (width x height, left,
// top) or "crop none REASON", REASON one of nobars, short, dark, undecodable.
std::string CropFact(const BarSearch& search);

// The crop SearchBlackBars found; nullopt for every other outcome.
std::optional<CropRect> FindBlackBars(const std::string& source);

} // namespace velmora::encoder
