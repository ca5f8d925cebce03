#include "encoder/SubtitleStandIn.h"

#include <filesystem>

namespace velmora::encoder {

SubtitleSource StandInSubtitleChoice(const AVFormatContext& source, const std::string& sourcePath) {
    SubtitleSource chosen;
    for (unsigned i = 0; i < source.nb_streams; ++i) {
        const AVStream& stream = *source.streams[i];
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE &&
            (stream.disposition & (AV_DISPOSITION_DEFAULT | AV_DISPOSITION_FORCED))) {
            chosen.kind = SubtitleSource::Kind::Stream;
            chosen.streamIndex = static_cast<int>(i);
            return chosen;
        }
    }
    for (const char* ending : {".srt", ".ass", ".ssa", ".vtt"}) {
        std::filesystem::path beside = std::filesystem::path(sourcePath).replace_extension(ending);
        std::error_code error;
        if (std::filesystem::exists(beside, error)) {
            chosen.kind = SubtitleSource::Kind::Sidecar;
            chosen.sidecarPath = beside.string();
            chosen.characterSet = "UTF-8";
            return chosen;
        }
    }
    return chosen;
}

} // namespace velmora::encoder
