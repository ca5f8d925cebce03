#include "platform/IntegerText.h"

#include "platform/Errors.h"

#include <charconv>

namespace velmora {

int32_t TextToInteger(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes a minus but not a plus.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    int32_t value = 0;
    auto [end, error] = std::from_chars(first, last, value, 10);
    if (first == last || error != std::errc() || end != last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

} // namespace velmora
