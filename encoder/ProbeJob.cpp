#include "encoder/ProbeJob.h"

#include "encoder/BlackBars.h"
#include "encoder/InputSource.h"
#include "encoder/PictureColour.h"
#include "encoder/TrackChoice.h"

#include <cstdio>

namespace velmora::encoder {
namespace {

// A fact is one line: a line break or other control character in a file name must not start another.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return text;
}

std::string Flags(std::initializer_list<std::pair<bool, const char*>> flags) {
    std::string text;
    for (const auto& [set, name] : flags)
        if (set) {
            if (!text.empty())
                text += ',';
            text += name;
        }
    return text.empty() ? "-" : text;
}

std::string SoundFact(const AVFormatContext& format, int index) {
    if (index < 0)
        return "sound none";
    const AVStream& stream = *format.streams[index];
    return "sound " + std::to_string(index) + " " + StreamLanguage(stream) + " " +
           Flags({{(stream.disposition & AV_DISPOSITION_DEFAULT) != 0, "default"},
                  {IsCommentary(stream), "commentary"}});
}

std::string SubtitleFact(const AVFormatContext& format, const SubtitleSource& subtitles) {
    if (subtitles.kind == SubtitleSource::Kind::Sidecar)
        return "subtitles file " + subtitles.language + " " + OneLine(subtitles.sidecarPath);
    if (subtitles.kind == SubtitleSource::Kind::None)
        return "subtitles none";
    const AVStream& stream = *format.streams[subtitles.streamIndex];
    return "subtitles stream " + std::to_string(subtitles.streamIndex) + " " + subtitles.language + " " +
           Flags({{(stream.disposition & AV_DISPOSITION_DEFAULT) != 0, "default"},
                  {(stream.disposition & AV_DISPOSITION_FORCED) != 0, "forced"},
                  {HasBitmapSubtitles(stream), "bitmap"}});
}

} // namespace

void RunProbeJob(const ProbeJobSettings& settings) {
    const InputSource source(settings.source, InputSource::Audio::Skipped);
    const TrackChoice choice = ChooseTracks(*source.Format(), settings.source, settings.tracks);
    std::printf("duration %.3f\n", source.DurationSeconds());
    std::printf("%s\n", SoundFact(*source.Format(), choice.audioStreamIndex).c_str());
    std::printf("%s\n", SubtitleFact(*source.Format(), choice.subtitles).c_str());
    std::printf("%s\n", PictureFact(ColourOfStream(*source.VideoStream())).c_str());
    // Once here for the entry: the window hands the rectangle to the thumbnail, video and preview lines.
    std::printf("%s\n", CropFact(SearchBlackBars(settings.source)).c_str());
    for (const std::string& note : choice.notes)
        std::printf("note %s\n", OneLine(note).c_str());
    std::fflush(stdout);
}

} // namespace velmora::encoder
