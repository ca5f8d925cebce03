#include "encoder/DialogueStyles.h"

namespace velmora::encoder {
namespace {

// The field at `index` of a comma-separated event; the last field (the text) keeps its commas.
std::string_view Field(std::string_view event, int index, bool rest) {
    for (int i = 0; i < index; ++i) {
        const size_t comma = event.find(',');
        if (comma == std::string_view::npos)
            return {};
        event.remove_prefix(comma + 1);
    }
    return rest ? event : event.substr(0, event.find(','));
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '*'))
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

bool DialogueStyles::Count(std::string_view event) {
    const std::string_view text = Field(event, 8, true);
    if (text.find("\\pos(") != std::string_view::npos || text.find("\\move(") != std::string_view::npos)
        return false;
    const std::string style(Trimmed(Field(event, 2, false)));
    const int count = ++counts_[style];
    if (style == leading_ || (!leading_.empty() && count <= counts_[leading_]))
        return false;
    leading_ = style;
    return true;
}

} // namespace velmora::encoder
