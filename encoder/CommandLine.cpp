#include "encoder/CommandLine.h"

#include "encoder/EncoderError.h"
#include "platform/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <string_view>

namespace velmora::encoder {
namespace {

constexpr std::array kValueOptions = {"-i",     "-f",  "-b",      "-r",        "-s",     "-ar",
                                      "-ab",    "-ac", "-vcodec", "-vframes",  "-alang", "-subs",
                                      "-slang", "-at", "-crop",   "-loudness", "-uilang"};
constexpr std::array kTrackOptions = {"-alang", "-subs", "-slang", "-uilang"};
constexpr std::array kFlagOptions = {"-an", "-y"};

bool IsValueOption(std::string_view word) {
    return std::find(kValueOptions.begin(), kValueOptions.end(), word) != kValueOptions.end();
}

bool IsFlagOption(std::string_view word) {
    return std::find(kFlagOptions.begin(), kFlagOptions.end(), word) != kFlagOptions.end();
}

// The options as given, before their values are checked.
struct OptionWords {
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;
    std::optional<std::string> output;

    bool Has(const std::string& option) const {
        return values.count(option) != 0 || flags.count(option) != 0;
    }
};

OptionWords SplitWords(const std::vector<std::string>& words) {
    OptionWords options;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (IsValueOption(word)) {
            // A source that no longer exists reaches us as an empty word, or as no word at all when the
            // caller split its command line at blanks.
            bool missing = i + 1 >= words.size() || IsValueOption(words[i + 1]) || IsFlagOption(words[i + 1]);
            if (word == "-i" && (missing || words[i + 1].empty()))
                throw EncoderError("No source file given after -i");
            if (missing || words[i + 1].empty())
                throw EncoderError("Missing value after " + word);
            if (options.values.count(word) != 0)
                throw EncoderError("Option " + word + " given twice");
            options.values[word] = words[++i];
        } else if (IsFlagOption(word)) {
            if (options.flags.count(word) != 0)
                throw EncoderError("Option " + word + " given twice");
            options.flags[word] = true;
        } else if (!word.empty() && word[0] == '-') {
            throw EncoderError("Unknown option '" + word + "'");
        } else if (options.output) {
            throw EncoderError("Unexpected word '" + word + "' (the output file is already '" +
                               *options.output + "')");
        } else if (word.empty()) {
            throw EncoderError("No output file given");
        } else {
            options.output = word;
        }
    }
    return options;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

void Require(const OptionWords& options, const std::vector<std::string>& required, const std::string& form) {
    for (const std::string& option : required)
        if (!options.Has(option))
            throw EncoderError("Missing option " + option + " for " + form);
}

void Forbid(const OptionWords& options, const std::vector<std::string>& forbidden, const std::string& form) {
    for (const std::string& option : forbidden)
        if (options.Has(option))
            throw EncoderError("Option " + option + " does not belong to " + form);
}

void RequireValue(const OptionWords& options, const std::string& option, const std::string& expected) {
    const std::string& value = options.values.at(option);
    if (value != expected)
        throw EncoderError("Unsupported value '" + value + "' for " + option + " (expected " + expected +
                           ")");
}

int IntegerInRange(const OptionWords& options, const std::string& option, std::string_view suffix, int low,
                   int high, const std::string& meaning) {
    std::string_view text = options.values.at(option);
    std::optional<int> value;
    if (text.size() > suffix.size() && text.substr(text.size() - suffix.size()) == suffix)
        value = WholeNumber(text.substr(0, text.size() - suffix.size()));
    if (!value || *value < low || *value > high)
        throw EncoderError("Unsupported " + meaning + " '" + std::string(text) + "' for " + option +
                           " (expected " + std::to_string(low) + std::string(suffix) + " to " +
                           std::to_string(high) + std::string(suffix) + ")");
    return *value;
}

FrameRate ParseFrameRate(const std::string& text) {
    // The rates as the caller writes them, two decimals; the NTSC ones are the 1001-based fractions.
    static constexpr std::array<std::pair<std::string_view, FrameRate>, 4> kRates = {{
        {"14.98", {15000, 1001}},
        {"23.98", {24000, 1001}},
        {"25.00", {25, 1}},
        {"29.97", {30000, 1001}},
    }};
    for (const auto& [name, rate] : kRates)
        if (text == name)
            return rate;
    throw EncoderError("Unsupported frame rate '" + text +
                       "' for -r (expected 14.98, 23.98, 25.00 or 29.97)");
}

std::pair<int, int> ParseFrameSize(const std::string& text, const std::vector<std::string>& allowed) {
    if (std::find(allowed.begin(), allowed.end(), text) == allowed.end()) {
        std::string list;
        for (const std::string& size : allowed)
            list += (list.empty() ? "" : ", ") + size;
        throw EncoderError("Unsupported frame size '" + text + "' for -s (expected " + list + ")");
    }
    size_t cross = text.find('x');
    return {*WholeNumber(std::string_view(text).substr(0, cross)),
            *WholeNumber(std::string_view(text).substr(cross + 1))};
}

std::vector<std::string> ParseLanguages(const std::string& text, const std::string& option) {
    std::vector<std::string> languages;
    for (size_t start = 0; start <= text.size();) {
        size_t comma = std::min(text.find(',', start), text.size());
        std::string code = text.substr(start, comma - start);
        if (!IsLanguageTag(code))
            throw EncoderError("Unsupported language list '" + text + "' for " + option +
                               " (expected ISO 639 codes separated by commas, such as jpn,eng)");
        std::transform(code.begin(), code.end(), code.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        languages.push_back(code);
        start = comma + 1;
    }
    return languages;
}

TrackPreferences ParseTracks(const OptionWords& options) {
    TrackPreferences tracks;
    if (options.Has("-alang"))
        tracks.audioLanguages = ParseLanguages(options.values.at("-alang"), "-alang");
    if (options.Has("-subs")) {
        const std::string& mode = options.values.at("-subs");
        if (mode != "0" && mode != "1" && mode != "2")
            throw EncoderError("Unsupported value '" + mode + "' for -subs (expected 0, 1 or 2)");
        tracks.subtitles = mode[0] - '0';
    }
    if (options.Has("-slang"))
        tracks.subtitleLanguages = ParseLanguages(options.values.at("-slang"), "-slang");
    if (options.Has("-uilang")) {
        const std::vector<std::string> window = ParseLanguages(options.values.at("-uilang"), "-uilang");
        if (window.size() != 1)
            throw EncoderError("Option -uilang takes one language code");
        tracks.windowLanguage = window.front();
    }
    return tracks;
}

// "WxH:LEFT:TOP", an even rectangle.
std::optional<CropRect> ParseCropRect(std::string_view text) {
    const size_t cross = text.find('x');
    const size_t colon = text.find(':');
    const size_t second = colon == std::string_view::npos ? colon : text.find(':', colon + 1);
    if (cross == std::string_view::npos || second == std::string_view::npos || cross > colon)
        return std::nullopt;
    const auto width = WholeNumber(text.substr(0, cross));
    const auto height = WholeNumber(text.substr(cross + 1, colon - cross - 1));
    const auto left = WholeNumber(text.substr(colon + 1, second - colon - 1));
    const auto top = WholeNumber(text.substr(second + 1));
    if (!width || !height || !left || !top || *width < 2 || *height < 2 || *left < 0 || *top < 0 ||
        (*width | *height | *left | *top) & 1)
        return std::nullopt;
    return CropRect{*left, *top, *width, *height};
}

// Absent: off, so that the older command lines convert as they did.
CropChoice ParseCrop(const OptionWords& options) {
    if (!options.Has("-crop"))
        return {};
    const std::string& mode = options.values.at("-crop");
    if (mode == "auto" || mode == "off")
        return {mode == "auto" ? CropChoice::Mode::Auto : CropChoice::Mode::Off, {}};
    if (const std::optional<CropRect> given = ParseCropRect(mode))
        return {CropChoice::Mode::Given, *given};
    throw EncoderError("Unsupported value '" + mode + "' for -crop (expected auto, off or WxH:LEFT:TOP)");
}

// Absent: off, so that the older command lines sound as they did.
Loudness ParseLoudness(const OptionWords& options) {
    if (!options.Has("-loudness"))
        return Loudness::AsRecorded;
    const std::string& mode = options.values.at("-loudness");
    if (mode == "normal")
        return Loudness::Same;
    if (mode == "even")
        return Loudness::Evened;
    if (mode != "off")
        throw EncoderError("Unsupported value '" + mode + "' for -loudness (expected off, normal or even)");
    return Loudness::AsRecorded;
}

// -probe [-alang L] [-subs N] [-slang L] SRC: the source is the last word, whatever it looks like.
ProbeJobSettings ParseProbe(const std::vector<std::string>& words) {
    const std::string usage = "-probe takes -alang, -subs and -slang with their values, then one source file";
    if (words.size() < 2 || words.back().empty())
        throw EncoderError(usage);
    OptionWords options;
    for (size_t i = 1; i + 1 < words.size(); i += 2) {
        const std::string& word = words[i];
        if (std::find(kTrackOptions.begin(), kTrackOptions.end(), word) == kTrackOptions.end() ||
            i + 2 >= words.size())
            throw EncoderError(usage);
        if (options.Has(word))
            throw EncoderError("Option " + word + " given twice");
        options.values[word] = words[i + 1];
    }
    return ProbeJobSettings{words.back(), ParseTracks(options)};
}

VideoJobSettings ParseVideo(const OptionWords& options) {
    const std::string form = "a video";
    Require(options, {"-i", "-f", "-b", "-r", "-s", "-ar", "-ab", "-ac", "-y"}, form);
    Forbid(options, {"-at"}, form);
    RequireValue(options, "-f", "mp4");

    VideoJobSettings settings;
    settings.source = options.values.at("-i");
    settings.output = *options.output;
    settings.videoBitrate = IntegerInRange(options, "-b", "k", 150, 2000, "video bitrate") * 1000;
    settings.frameRate = ParseFrameRate(options.values.at("-r"));
    std::tie(settings.width, settings.height) =
        ParseFrameSize(options.values.at("-s"), {"320x240", "368x208", "400x192", "480x272"});
    settings.sampleRate = IntegerInRange(options, "-ar", "", 8000, 96000, "sample rate");
    settings.audioBitrate = IntegerInRange(options, "-ab", "", 32, 192, "audio bitrate") * 1000;
    settings.channels = IntegerInRange(options, "-ac", "", 1, 2, "channel count");
    settings.tracks = ParseTracks(options);
    settings.crop = ParseCrop(options);
    settings.loudness = ParseLoudness(options);
    return settings;
}

ThumbnailJobSettings ParseThumbnail(const OptionWords& options) {
    const std::string form = "a thumbnail";
    Require(options, {"-i", "-vcodec", "-vframes", "-an", "-f", "-s", "-y"}, form);
    Forbid(options, {"-b", "-r", "-ar", "-ab", "-ac", "-at", "-loudness"}, form);
    RequireValue(options, "-vcodec", "mjpeg");
    RequireValue(options, "-vframes", "1");
    RequireValue(options, "-f", "image2");

    ThumbnailJobSettings settings;
    settings.source = options.values.at("-i");
    settings.output = *options.output;
    std::tie(settings.width, settings.height) = ParseFrameSize(options.values.at("-s"), {"160x120"});
    settings.tracks = ParseTracks(options);
    settings.crop = ParseCrop(options);
    return settings;
}

double ParseSeconds(const std::string& text) {
    // A plain decimal, as the window writes it: no sign, exponent or hexadecimal.
    const bool plain = !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos;
    double value = -1;
    if (plain) {
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            value = -1;
    }
    // Ten days: far beyond any film, within what the timestamps hold.
    if (value < 0 || value > 864000)
        throw EncoderError("Unsupported time '" + text + "' for -at (expected seconds, such as 12.5)");
    return value;
}

PreviewJobSettings ParsePreview(const OptionWords& options) {
    const std::string form = "a preview";
    Require(options, {"-i", "-at", "-s", "-y"}, form);
    Forbid(options, {"-f", "-b", "-r", "-ar", "-ab", "-ac", "-vcodec", "-vframes", "-an", "-loudness"}, form);

    PreviewJobSettings settings;
    settings.source = options.values.at("-i");
    settings.output = *options.output;
    settings.seconds = ParseSeconds(options.values.at("-at"));
    std::tie(settings.width, settings.height) =
        ParseFrameSize(options.values.at("-s"), {"320x240", "368x208", "400x192", "480x272"});
    settings.crop = ParseCrop(options);
    settings.tracks = ParseTracks(options);
    return settings;
}

} // namespace

JobSettings ParseCommandLine(const std::vector<std::string>& words) {
    if (words.empty())
        throw EncoderError("No options given (usage: -i SOURCE -f mp4 -b 1000k -r 25.00 -s 400x192 -ar 44100 "
                           "-ab 128 -ac 2 -y OUTPUT)");
    if (words[0] == "-duration") {
        if (words.size() != 2 || words[1].empty())
            throw EncoderError("-duration takes exactly one source file");
        return DurationJobSettings{words[1]};
    }
    if (words[0] == "-probe")
        return ParseProbe(words);
    if (words[0] == "-preview") {
        OptionWords options = SplitWords(std::vector<std::string>(words.begin() + 1, words.end()));
        if (!options.output)
            throw EncoderError("No output file given");
        return ParsePreview(options);
    }
    OptionWords options = SplitWords(words);
    if (!options.output)
        throw EncoderError("No output file given");
    bool thumbnail = options.Has("-vcodec") || options.Has("-vframes") || options.Has("-an") ||
                     (options.values.count("-f") != 0 && options.values.at("-f") == "image2");
    if (thumbnail)
        return ParseThumbnail(options);
    return ParseVideo(options);
}

} // namespace velmora::encoder
