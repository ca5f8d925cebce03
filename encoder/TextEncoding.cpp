#include "encoder/TextEncoding.h"

#include "encoder/EncoderError.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <uchardet/uchardet.h>

namespace velmora::encoder {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

struct IconvCloser {
    void operator()(iconv_t converter) const { iconv_close(converter); }
};
using IconvPtr = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

struct DetectorDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};
using DetectorPtr = std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDeleter>;

bool IsValidUtf8(std::string_view bytes) {
    try {
        TextToUtf8(bytes, "UTF-8");
        return true;
    } catch (const EncoderError&) {
        return false;
    }
}

// libuchardet's names for the encodings iconv knows by another name or should read as a superset:
// glibc's SHIFT_JIS turns the backslash of ASS tags into a yen sign, and Windows wrote these files with
// its own code pages, which extend the standard ones.
std::string IconvName(const std::string& detected) {
    static const std::pair<std::string_view, std::string_view> kNames[] = {
        {"ASCII", "UTF-8"}, {"SHIFT_JIS", "CP932"}, {"EUC-KR", "CP949"},
        {"BIG5", "CP950"},  {"GB2312", "GB18030"},
    };
    for (const auto& [name, iconvName] : kNames)
        if (detected == name)
            return std::string(iconvName);
    if (detected.rfind("WINDOWS-", 0) == 0)
        return "CP" + detected.substr(8);
    return detected;
}

// Up to this many bytes beyond ASCII the detector has too little to go on and the window's language
// is a better guide; past it, the guess stands unless the file's name says otherwise.
constexpr size_t kShortText = 120;

// The text in the encoding when it decodes cleanly and is written in the language.
bool DecodesInto(std::string_view bytes, const std::string& encoding, const std::string& language) {
    try {
        return FitsLanguage(TextToUtf8(bytes, encoding), language);
    } catch (const EncoderError&) {
        return false;
    }
}

// The detector's guess, unless a hint names a language it does not give and one of that language's
// encodings does.
std::string ChooseHintedEncoding(std::string_view bytes, const std::string& guess,
                                 const std::vector<LanguageHint>& hints) {
    const auto beyondAscii = static_cast<size_t>(std::count_if(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    for (const LanguageHint& hint : hints) {
        if (!hint.fromFileName && !guess.empty() && beyondAscii > kShortText)
            continue;
        const std::vector<std::string> encodings = EncodingsFor(hint.language);
        if (std::find(encodings.begin(), encodings.end(), guess) != encodings.end() &&
            DecodesInto(bytes, guess, hint.language))
            return guess;
        for (const std::string& encoding : encodings)
            if (DecodesInto(bytes, encoding, hint.language))
                return encoding;
    }
    return guess;
}

std::string GuessEncoding(std::string_view bytes) {
    DetectorPtr detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    return IconvName(uchardet_get_charset(detector.get()));
}

} // namespace

std::string DetectTextEncoding(std::string_view bytes, const std::vector<LanguageHint>& hints) {
    if (bytes.substr(0, 3) == kUtf8Mark)
        return "UTF-8";
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "UTF-16LE";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "UTF-16BE";
    // Without a mark, NUL bytes mean a binary file, not subtitles.
    if (bytes.find('\0') != std::string_view::npos)
        return {};
    // Other encodings seldom form valid UTF-8 by chance; the guess can take a short UTF-8 text for one.
    if (IsValidUtf8(bytes))
        return "UTF-8";
    return ChooseHintedEncoding(bytes, GuessEncoding(bytes), hints);
}

std::string TextToUtf8(std::string_view bytes, const std::string& characterSet) {
    IconvPtr converter(iconv_open("UTF-8", characterSet.c_str()));
    if (converter.get() == reinterpret_cast<iconv_t>(-1)) {
        converter.release();
        throw EncoderError("its text encoding " + characterSet + " is not supported");
    }
    std::string text;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        text.append(buffer, static_cast<size_t>(out - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG)
            throw EncoderError("it is not valid " + characterSet + " text");
    }
    // A shifting encoding may end in a state that still owes its last characters.
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(converter.get(), nullptr, nullptr, &out, &outLeft);
    text.append(buffer, static_cast<size_t>(out - buffer));
    if (std::string_view(text).substr(0, 3) == kUtf8Mark)
        text.erase(0, 3);
    return text;
}

} // namespace velmora::encoder
