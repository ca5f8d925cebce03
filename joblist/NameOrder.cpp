#include "joblist/NameOrder.h"

#include "platform/AsciiText.h"

namespace velmora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view DigitRun(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return text.substr(at, end - at);
}

// -1, 0 or 1 as the number a is below, equal to or above b; any length of digits.
int CompareNumbers(std::string_view a, std::string_view b) {
    while (a.size() > 1 && a.front() == '0')
        a.remove_prefix(1);
    while (b.size() > 1 && b.front() == '0')
        b.remove_prefix(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int compared = a.compare(b);
    return compared < 0 ? -1 : compared > 0 ? 1 : 0;
}

} // namespace

bool NameOrderLess(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view numberA = DigitRun(a, i);
            const std::string_view numberB = DigitRun(b, j);
            if (const int compared = CompareNumbers(numberA, numberB); compared != 0)
                return compared < 0;
            i += numberA.size();
            j += numberB.size();
            continue;
        }
        const unsigned char lowerA = static_cast<unsigned char>(AsciiLower(a[i]));
        const unsigned char lowerB = static_cast<unsigned char>(AsciiLower(b[j]));
        if (lowerA != lowerB)
            return lowerA < lowerB;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

} // namespace velmora
