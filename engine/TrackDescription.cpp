#include "engine/TrackDescription.h"

#include "engine/LanguageNames.h"

#include <algorithm>

namespace velmora {
namespace {

std::string Filled(std::string format, const std::string& value) {
    const std::size_t at = format.find("%1");
    if (at != std::string::npos)
        format.replace(at, 2, value);
    return format;
}

// The language's own name and the flags a person cares about: "日本語 (default, forced)", or
// "日本語, forced" inside a format that brackets it already.
std::string StreamName(const ProbedTrack& track, const TrackTexts& texts, bool bracketed) {
    std::string name = track.language == "und" ? texts.unmarkedLanguage : OwnLanguageName(track.language);
    std::string flags;
    const std::pair<const char*, const std::string*> shownFlags[] = {{"default", &texts.defaultFlag},
                                                                     {"forced", &texts.forcedFlag},
                                                                     {"commentary", &texts.commentaryFlag}};
    for (const auto& [flag, word] : shownFlags)
        if (std::find(track.flags.begin(), track.flags.end(), flag) != track.flags.end())
            flags += (flags.empty() ? "" : ", ") + *word;
    if (flags.empty())
        return name;
    return bracketed ? name + ", " + flags : name + " (" + flags + ")";
}

std::string FileName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Nothing for a picture the PSP shows as it is.
std::string PictureLine(const ProbedPicture& picture, const TrackTexts& texts) {
    if (picture.dolbyVisionProfile == 5)
        return texts.dolbyVision5;
    if (picture.coding == "pq")
        return Filled(texts.picture, texts.hdrPq);
    if (picture.coding == "hlg")
        return Filled(texts.picture, texts.hdrHlg);
    if (picture.coding == "wide-gamut")
        return Filled(texts.picture, texts.wideGamut);
    return {};
}

} // namespace

std::string DescribeTracks(const ProbeAnswer& answer, const TrackTexts& texts) {
    std::string line;
    if (answer.sound)
        line = answer.sound->kind == ProbedTrack::Kind::None
                   ? texts.noSound
                   : Filled(texts.sound, StreamName(*answer.sound, texts, false));
    if (answer.subtitles) {
        const ProbedTrack& subtitles = *answer.subtitles;
        const std::string shown = subtitles.kind == ProbedTrack::Kind::None ? texts.noSubtitles
                                  : subtitles.kind == ProbedTrack::Kind::File
                                      ? Filled(texts.subtitles, FileName(subtitles.path))
                                      : Filled(texts.subtitles, StreamName(subtitles, texts, true));
        line += (line.empty() ? "" : " \u00b7 ") + shown;
    }
    if (answer.picture) {
        const std::string shown = PictureLine(*answer.picture, texts);
        if (!shown.empty())
            line += (line.empty() ? "" : "\n") + shown;
    }
    for (const std::string& note : answer.notes)
        line += (line.empty() ? "" : "\n") + note;
    return line;
}

} // namespace velmora
