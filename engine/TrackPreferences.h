#pragma once

#include "platform/ProfileFile.h"

#include <string>
#include <vector>

namespace velmora {

// Which sound and subtitles the user prefers, as stored in config.ini and passed to the encoder.
struct TrackPreferences {
    // ISO 639 codes in order, lower-case; empty: the source's default sound.
    std::vector<std::string> audioLanguages;
    // 0 none, 1 as the source and the files beside it say, 2 always, in subtitleLanguages' order.
    int subtitles = 1;
    // Codes in order; empty: the window's language.
    std::vector<std::string> subtitleLanguages;

    bool operator==(const TrackPreferences&) const = default;
};

// A stored list of codes ("jpn, ENG"): every item of two or three ASCII letters, repeats dropped.
// Empty when the text is empty or any item is not such a code, so a mistyped list means the default.
std::vector<std::string> ReadLanguageList(const std::string& stored);
std::string LanguageListText(const std::vector<std::string>& codes);
// "0", "1" or "2"; anything else is 1.
int ReadSubtitleMode(const std::string& stored);

// The preferences in config.ini's section "setting"; a missing or invalid value is the default.
TrackPreferences ReadTrackPreferences(const ProfileFile& config);
// Writes the keys whose value differs between the two, so that a value set by hand the user did not
// change keeps its text.
void WriteTrackPreferences(const ProfileFile& config, const TrackPreferences& before,
                           const TrackPreferences& after);

// The code of the window's language ("eng", "chi", "jpn") stands in for an empty subtitle list.
TrackPreferences ResolveSubtitleLanguages(TrackPreferences preferences, const std::string& windowLanguage);

// The encoder's words for the preferences, only those that differ from its defaults, so that the
// command lines stay as they were without preferences. The subtitle languages go with "-subs 2",
// which needs them, and whenever the user named some. "-uilang" carries `windowTextLanguage`
// ("chi-hans") as a hint for reading subtitle files' text wherever subtitles may be burned in, except
// English, whose text needs none.
std::vector<std::string> TrackPreferenceWords(const TrackPreferences& stored,
                                              const std::string& windowLanguage,
                                              const std::string& windowTextLanguage = "");

} // namespace velmora
