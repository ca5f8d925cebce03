#include "engine/EscapedFields.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velmora {

namespace {

// Each character a field cannot hold as it is, and the letter that stands for it after a backslash.
constexpr std::array<std::pair<char, char>, 4> kEscapes{
    {{'\\', '\\'}, {'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}}};

constexpr std::array<std::string_view, 4> kResults{"converted", "failed", "stopped", "not-reached"};

} // namespace

std::string EscapedField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
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

std::optional<std::string> UnescapedField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
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

std::vector<std::string_view> SplitFields(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

std::string_view EntryResultWord(EntryResult result) {
    return kResults[static_cast<std::size_t>(result)];
}

std::optional<EntryResult> EntryResultFromWord(std::string_view word) {
    const auto found = std::find(kResults.begin(), kResults.end(), word);
    if (found == kResults.end())
        return std::nullopt;
    return static_cast<EntryResult>(found - kResults.begin());
}

} // namespace velmora
