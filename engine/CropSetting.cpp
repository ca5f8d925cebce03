#include "engine/CropSetting.h"

#include <charconv>

namespace velmora {
namespace {

const std::string kSection = "setting";
const std::string kKey = "cropBlackBars";

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

bool ReadCropBlackBars(const ProfileFile& config) {
    return config.ReadInteger(kSection, kKey, 1) != 0;
}

void WriteCropBlackBars(const ProfileFile& config, bool crop) {
    config.WriteInteger(kSection, kKey, crop ? 1 : 0);
}

std::optional<CropFinding> ReadCropFact(const std::vector<std::string_view>& words) {
    using Outcome = CropFinding::Outcome;
    if (words.size() == 3 && words[0] == "crop" && words[1] == "none") {
        for (const auto& [name, outcome] : {std::pair{"nobars", Outcome::NoBars},
                                            {"short", Outcome::TooShort},
                                            {"dark", Outcome::TooDark},
                                            {"undecodable", Outcome::Undecodable}})
            if (words[2] == name)
                return CropFinding{outcome};
        return std::nullopt;
    }
    if (words.size() != 4 || words[0] != "crop")
        return std::nullopt;
    CropFinding found{Outcome::Found};
    const std::string_view size = words[1];
    const size_t cross = size.find('x');
    const std::optional<int> width = Number(size.substr(0, cross == std::string_view::npos ? 0 : cross));
    const std::optional<int> height = Number(cross == std::string_view::npos ? "" : size.substr(cross + 1));
    const std::optional<int> left = Number(words[2]);
    const std::optional<int> top = Number(words[3]);
    if (!width || !height || !left || !top || *width == 0 || *height == 0)
        return std::nullopt;
    found.width = *width;
    found.height = *height;
    found.left = *left;
    found.top = *top;
    return found;
}

std::vector<std::string> CropWords(bool crop, const std::optional<CropFinding>& found) {
    if (!crop)
        return {"-crop", "off"};
    if (!found)
        return {"-crop", "auto"};
    if (found->outcome != CropFinding::Outcome::Found)
        return {"-crop", "off"};
    return {"-crop", std::to_string(found->width) + "x" + std::to_string(found->height) + ":" +
                         std::to_string(found->left) + ":" + std::to_string(found->top)};
}

} // namespace velmora
