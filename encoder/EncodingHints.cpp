#include "encoder/EncodingHints.h"

#include "platform/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace velmora::encoder {
namespace {

enum class Script { Latin, Cyrillic, Greek, Hebrew, Arabic, Thai, Chinese, Japanese, Korean };

struct LanguageEncodings {
    std::string_view hint;
    Script script;
    std::array<std::string_view, 3> encodings; // iconv names, likeliest first; empty ones unused
};

constexpr LanguageEncodings kLanguages[] = {
    {"chi-Hans", Script::Chinese, {"GB18030", "CP950", ""}},
    {"chi-Hant", Script::Chinese, {"CP950", "GB18030", ""}},
    {"chi", Script::Chinese, {"GB18030", "CP950", ""}},
    {"jpn", Script::Japanese, {"CP932", "EUC-JP", ""}},
    {"kor", Script::Korean, {"CP949", "", ""}},
    {"rus", Script::Cyrillic, {"CP1251", "KOI8-R", "CP866"}},
    {"ukr", Script::Cyrillic, {"CP1251", "KOI8-U", ""}},
    {"bel", Script::Cyrillic, {"CP1251", "", ""}},
    {"bul", Script::Cyrillic, {"CP1251", "", ""}},
    {"srp", Script::Cyrillic, {"CP1251", "CP1250", ""}},
    {"mac", Script::Cyrillic, {"CP1251", "", ""}},
    {"cze", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"pol", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"hun", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"slo", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"slv", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"hrv", Script::Latin, {"CP1250", "ISO-8859-2", ""}},
    {"bos", Script::Latin, {"CP1250", "", ""}},
    {"rum", Script::Latin, {"CP1250", "ISO-8859-16", ""}},
    {"gre", Script::Greek, {"CP1253", "ISO-8859-7", ""}},
    {"tur", Script::Latin, {"CP1254", "ISO-8859-9", ""}},
    {"heb", Script::Hebrew, {"CP1255", "ISO-8859-8", ""}},
    {"ara", Script::Arabic, {"CP1256", "ISO-8859-6", ""}},
    {"per", Script::Arabic, {"CP1256", "", ""}},
    {"lit", Script::Latin, {"CP1257", "ISO-8859-13", ""}},
    {"lav", Script::Latin, {"CP1257", "ISO-8859-13", ""}},
    {"est", Script::Latin, {"CP1257", "ISO-8859-15", ""}},
    {"vie", Script::Latin, {"CP1258", "", ""}},
    {"tha", Script::Thai, {"CP874", "", ""}},
};

// Languages written in the Western code page.
constexpr std::array<std::string_view, 14> kWestern = {"eng", "fre", "ger", "spa", "ita", "por", "dut",
                                                       "swe", "dan", "nor", "fin", "cat", "ice", "glg"};

const LanguageEncodings* Find(const std::string& hint) {
    for (const LanguageEncodings& language : kLanguages)
        if (language.hint == hint)
            return &language;
    return nullptr;
}

// The text's code points; empty when it is not UTF-8.
std::u32string CodePoints(std::string_view utf8) {
    std::u32string points;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > utf8.size())
            return {};
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            point = point << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<size_t>(length);
    }
    return points;
}

bool Within(char32_t point, char32_t first, char32_t last) {
    return point >= first && point <= last;
}

// Punctuation every script's subtitles use: dashes, quotes, ellipsis, no-break space, degree, copyright.
bool IsCommonPunctuation(char32_t point) {
    return Within(point, 0x2010, 0x2026) || point == 0x00A0 || point == 0x00AB || point == 0x00BB ||
           point == 0x00B0 || point == 0x00A9 || point == 0x2116 || point == 0x00B7 || point == 0x266A;
}

bool IsLetterOf(Script script, char32_t point) {
    switch (script) {
    case Script::Latin:
        return Within(point, 0xC0, 0x24F) && point != 0xD7 && point != 0xF7;
    case Script::Cyrillic:
        return Within(point, 0x400, 0x4FF);
    case Script::Greek:
        return Within(point, 0x370, 0x3FF);
    case Script::Hebrew:
        return Within(point, 0x590, 0x5FF);
    case Script::Arabic:
        return Within(point, 0x600, 0x6FF) || Within(point, 0xFB50, 0xFEFF);
    case Script::Thai:
        return Within(point, 0xE00, 0xE7F);
    case Script::Japanese:
        return Within(point, 0x3040, 0x30FF) || Within(point, 0x4E00, 0x9FFF);
    case Script::Korean:
        return Within(point, 0xAC00, 0xD7A3) || Within(point, 0x4E00, 0x9FFF);
    case Script::Chinese:
        return Within(point, 0x4E00, 0x9FFF);
    }
    return false;
}

bool IsWide(Script script) {
    return script == Script::Chinese || script == Script::Japanese || script == Script::Korean;
}

bool IsAsciiLetter(char32_t point) {
    return Within(point, 'a', 'z') || Within(point, 'A', 'Z');
}

// Whether the text can be written in the encoding: the characters a language commonly uses are, the
// rare ones a wrong decoding picks are not.
bool EncodableIn(std::string_view utf8, const char* encoding) {
    iconv_t converter = iconv_open(encoding, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    bool encodable = true;
    while (inLeft > 0 && encodable) {
        char buffer[1024];
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        encodable =
            iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) || errno == E2BIG;
    }
    iconv_close(converter);
    return encodable;
}

// The common character sets of the CJK languages.
bool InCommonSet(std::string_view utf8, const std::string& hint, Script script) {
    if (script == Script::Japanese)
        return EncodableIn(utf8, "EUC-JP");
    if (script == Script::Korean)
        return EncodableIn(utf8, "EUC-KR");
    if (hint == "chi-Hans")
        return EncodableIn(utf8, "GB2312");
    if (hint == "chi-Hant")
        return EncodableIn(utf8, "BIG5");
    return EncodableIn(utf8, "GB2312") || EncodableIn(utf8, "BIG5");
}

} // namespace

std::string LanguageHintFor(std::string_view word) {
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::replace(lower.begin(), lower.end(), '_', '-');
    for (std::string_view simplified : {"chs", "zh-hans", "zh-cn", "zh-sg", "chi-hans", "zho-hans", "gb"})
        if (lower == simplified)
            return "chi-Hans";
    for (std::string_view traditional : {"cht", "zh-hant", "zh-tw", "zh-hk", "zh-mo", "chi-hant", "zho-hant"})
        if (lower == traditional)
            return "chi-Hant";
    const std::string language = CanonicalLanguage(lower);
    return language == "und" ? std::string() : language;
}

std::vector<std::string> EncodingsFor(const std::string& hint) {
    if (const LanguageEncodings* language = Find(hint)) {
        std::vector<std::string> encodings;
        for (std::string_view encoding : language->encodings)
            if (!encoding.empty())
                encodings.emplace_back(encoding);
        return encodings;
    }
    if (std::find(kWestern.begin(), kWestern.end(), hint) != kWestern.end())
        return {"CP1252"};
    return {};
}

bool FitsLanguage(std::string_view utf8, const std::string& hint) {
    const LanguageEncodings* language = Find(hint);
    const Script script = language != nullptr ? language->script : Script::Latin;
    const std::u32string points = CodePoints(utf8);
    if (points.empty() && !utf8.empty())
        return false;
    bool asciiInWord = false;
    bool otherInWord = false;
    for (char32_t point : points) {
        const bool wideForm =
            IsWide(script) && (Within(point, 0x3000, 0x303F) || Within(point, 0xFF01, 0xFF5E));
        if (point >= 0x80 && !IsLetterOf(script, point) && !IsCommonPunctuation(point) && !wideForm)
            return false;
        if (IsAsciiLetter(point)) {
            asciiInWord = true;
        } else if (point >= 0x80 && IsLetterOf(script, point) && script != Script::Latin && !IsWide(script)) {
            otherInWord = true;
        } else {
            asciiInWord = otherInWord = false;
        }
        if (asciiInWord && otherInWord)
            return false;
    }
    return !IsWide(script) || InCommonSet(utf8, hint, script);
}

} // namespace velmora::encoder
