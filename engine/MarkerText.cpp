#include "engine/MarkerText.h"

#include "platform/Errors.h"
#include "platform/IntegerText.h"

#include <clocale>
#include <cstdlib>

namespace velmora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `at`; returns how many.
std::size_t DigitRun(const std::string& text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - at;
}

std::size_t SignLength(const std::string& text) {
    return !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
}

bool IsWholeNumber(const std::string& text) {
    const std::size_t sign = SignLength(text);
    const std::size_t digits = DigitRun(text, sign);
    return digits > 0 && sign + digits == text.size();
}

// [sign] digits [. digits] [e [sign] digits], with digits on at least one side of the point.
bool IsDecimalNumber(const std::string& text) {
    std::size_t at = SignLength(text);
    const std::size_t whole = DigitRun(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = DigitRun(text, at + 1);
        at += 1 + fraction;
    }
    if (whole + fraction == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        const std::size_t exponent = DigitRun(text, at);
        if (exponent == 0)
            return false;
        at += exponent;
    }
    return at == text.size();
}

[[noreturn]] void RaiseNotInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

} // namespace

std::string ExtractMarkerValue(const std::string& openingTag, const std::string& closingTag,
                               const std::string& text) {
    const std::size_t closing = text.rfind(closingTag);
    if (closing == std::string::npos || closing < openingTag.size())
        return std::string();
    const std::size_t opening = text.rfind(openingTag, closing - openingTag.size());
    if (opening == std::string::npos)
        return std::string();
    const std::size_t value = opening + openingTag.size();
    return text.substr(value, closing - value);
}

std::vector<std::string> SplitNonEmpty(const std::string& text, const std::string& separator) {
    std::vector<std::string> fields;
    if (separator.empty()) {
        if (!text.empty())
            fields.push_back(text);
        return fields;
    }
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != std::string::npos;
         found = text.find(separator, start)) {
        if (found > start)
            fields.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    if (start < text.size())
        fields.push_back(text.substr(start));
    return fields;
}

double FloatFromText(const std::string& text) {
    if (!IsDecimalNumber(text))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    // The "C" locale's point, whatever the program's locale; out of range gives infinity or 0.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

std::int64_t ClockTextToSeconds(const std::string& text) {
    if (text.empty())
        return 0;
    const std::vector<std::string> parts = SplitNonEmpty(text, ".");
    if (parts.size() != 2)
        return 0;
    const std::vector<std::string> clock = SplitNonEmpty(parts[0], ":");
    if (clock.size() != 3)
        return 0;
    const std::int64_t hours = TextToInteger(clock[0]);
    const std::int64_t minutes = TextToInteger(clock[1]);
    const std::int64_t seconds = TextToInteger(clock[2]);
    // The fraction is checked as a whole number of any length; its value does not count.
    if (!IsWholeNumber(parts[1]))
        RaiseNotInteger(parts[1]);
    return hours * 3600 + minutes * 60 + seconds;
}

std::string SecondsToClockText(std::int64_t seconds) {
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = (seconds - hours * 3600) / 60;
    const std::int64_t rest = seconds - hours * 3600 - minutes * 60;
    // Appending, not prefixing: GCC 12 sees a false overlap in "0" + text at -O3.
    const auto field = [](std::int64_t value) {
        std::string text = value < 10 ? "0" : "";
        text += std::to_string(value);
        return text;
    };
    return field(hours) + ":" + field(minutes) + ":" + field(rest);
}

std::string SubtitleNoteIn(const std::string& line) {
    return ExtractMarkerValue("ffmpeg_release_subtitle_note=", "=ffmpeg_release_subtitle_note", line);
}

std::string ColourNoteIn(const std::string& line) {
    return ExtractMarkerValue("ffmpeg_release_colour_note=", "=ffmpeg_release_colour_note", line);
}

} // namespace velmora
