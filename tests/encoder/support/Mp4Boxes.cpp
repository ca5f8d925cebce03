#include "tests/encoder/support/Mp4Boxes.h"

#include <cstdint>
#include <set>
#include <stdexcept>

namespace velmora::test {
namespace {

uint64_t BigEndian(const std::string& data, size_t at, size_t bytes) {
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(data[at + i]);
    return value;
}

std::vector<Mp4Box> ReadRange(const std::string& data, size_t begin, size_t end) {
    static const std::set<std::string> kContainers = {"moov", "trak", "mdia", "minf", "stbl", "udta"};
    std::vector<Mp4Box> boxes;
    for (size_t at = begin; at < end;) {
        if (end - at < 8)
            throw std::runtime_error("truncated box header");
        uint64_t size = BigEndian(data, at, 4);
        size_t header = 8;
        if (size == 1) {
            size = BigEndian(data, at + 8, 8);
            header = 16;
        } else if (size == 0) {
            size = end - at;
        }
        if (size < header || at + size > end)
            throw std::runtime_error("box overruns its container");
        Mp4Box box;
        box.type = data.substr(at + 4, 4);
        box.payload = data.substr(at + header, size - header);
        if (kContainers.count(box.type) != 0)
            box.children = ReadRange(data, at + header, at + size);
        boxes.push_back(std::move(box));
        at += size;
    }
    return boxes;
}

} // namespace

std::vector<Mp4Box> ReadMp4Boxes(const std::string& fileContent) {
    return ReadRange(fileContent, 0, fileContent.size());
}

std::vector<const Mp4Box*> FindBoxes(const std::vector<Mp4Box>& boxes, const std::string& type,
                                     const std::string& uuidName) {
    std::vector<const Mp4Box*> found;
    for (const Mp4Box& box : boxes)
        if (box.type == type && box.payload.compare(0, uuidName.size(), uuidName) == 0)
            found.push_back(&box);
    return found;
}

std::string Utf16BigEndian(const std::string& ascii) {
    std::string text;
    for (char c : ascii) {
        text += '\0';
        text += c;
    }
    return text;
}

} // namespace velmora::test
