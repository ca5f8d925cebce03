#include "engine/TrackPreferences.h"

#include <algorithm>

namespace velmora {
namespace {

const char* const kSection = "setting";
const char* const kAudioLanguagesKey = "audioLanguages";
const char* const kSubtitlesKey = "subtitles";
const char* const kSubtitleLanguagesKey = "subtitleLanguages";

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool IsLanguageCode(const std::string& code) {
    return (code.size() == 2 || code.size() == 3) &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

} // namespace

std::vector<std::string> ReadLanguageList(const std::string& stored) {
    std::vector<std::string> codes;
    if (Trimmed(stored).empty())
        return codes;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = stored.find(',', start);
        std::string code = Trimmed(stored.substr(start, comma - start));
        std::transform(code.begin(), code.end(), code.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        if (!IsLanguageCode(code))
            return {};
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
        if (comma == std::string::npos)
            return codes;
        start = comma + 1;
    }
}

std::string LanguageListText(const std::vector<std::string>& codes) {
    std::string text;
    for (const std::string& code : codes)
        text += (text.empty() ? "" : ",") + code;
    return text;
}

int ReadSubtitleMode(const std::string& stored) {
    const std::string mode = Trimmed(stored);
    return mode == "0" ? 0 : mode == "2" ? 2 : 1;
}

TrackPreferences ReadTrackPreferences(const ProfileFile& config) {
    TrackPreferences preferences;
    preferences.audioLanguages = ReadLanguageList(config.ReadString(kSection, kAudioLanguagesKey, ""));
    preferences.subtitles = ReadSubtitleMode(config.ReadString(kSection, kSubtitlesKey, ""));
    preferences.subtitleLanguages = ReadLanguageList(config.ReadString(kSection, kSubtitleLanguagesKey, ""));
    return preferences;
}

void WriteTrackPreferences(const ProfileFile& config, const TrackPreferences& before,
                           const TrackPreferences& after) {
    if (after.audioLanguages != before.audioLanguages)
        config.WriteString(kSection, kAudioLanguagesKey, LanguageListText(after.audioLanguages));
    if (after.subtitles != before.subtitles)
        config.WriteString(kSection, kSubtitlesKey, std::to_string(after.subtitles));
    if (after.subtitleLanguages != before.subtitleLanguages)
        config.WriteString(kSection, kSubtitleLanguagesKey, LanguageListText(after.subtitleLanguages));
}

TrackPreferences ResolveSubtitleLanguages(TrackPreferences preferences, const std::string& windowLanguage) {
    if (preferences.subtitleLanguages.empty())
        preferences.subtitleLanguages = {windowLanguage};
    return preferences;
}

std::vector<std::string> TrackPreferenceWords(const TrackPreferences& stored,
                                              const std::string& windowLanguage,
                                              const std::string& windowTextLanguage) {
    std::vector<std::string> words;
    if (!stored.audioLanguages.empty())
        words.insert(words.end(), {"-alang", LanguageListText(stored.audioLanguages)});
    if (stored.subtitles != 1)
        words.insert(words.end(), {"-subs", std::to_string(stored.subtitles)});
    const bool languagesMatter =
        stored.subtitles == 2 || (stored.subtitles == 1 && !stored.subtitleLanguages.empty());
    if (languagesMatter)
        words.insert(
            words.end(),
            {"-slang", LanguageListText(ResolveSubtitleLanguages(stored, windowLanguage).subtitleLanguages)});
    if (stored.subtitles != 0 && !windowTextLanguage.empty() && windowTextLanguage != "eng")
        words.insert(words.end(), {"-uilang", windowTextLanguage});
    return words;
}

} // namespace velmora
