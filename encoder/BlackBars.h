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
};

// Samples pictures spread over the source (seek + decode a few; no full pass). nullopt: nothing to crop,
// too short to sample, or the source cannot be sampled. Never throws for a source it can open.
std::optional<CropRect> FindBlackBars(const std::string& source);

} // namespace velmora::encoder
