#pragma once

#include <string>
#include <vector>

namespace velmora::test {

// One box (atom) of an MP4 file.
struct Mp4Box {
    std::string type;
    std::string payload; // the box's content after its header
    std::vector<Mp4Box> children;
};

// The boxes of an MP4 file, with the children of the usual container boxes (moov, trak, mdia, minf,
// stbl, udta). Throws for a file whose boxes do not fit together.
std::vector<Mp4Box> ReadMp4Boxes(const std::string& fileContent);

// The boxes of `type` in the list; for "uuid", those whose payload starts with `uuidName`.
std::vector<const Mp4Box*> FindBoxes(const std::vector<Mp4Box>& boxes, const std::string& type,
                                     const std::string& uuidName = "");

// Text as the PSP's atoms store it: UTF-16, big-endian (ASCII only).
std::string Utf16BigEndian(const std::string& ascii);

} // namespace velmora::test
