#include "engine/EncoderCommandLines.h"

#include "platform/FileSystem.h"

namespace velmora {

std::string EncoderPath(const std::string& programFolder) {
    return programFolder + "libq7z";
}

std::string ShortPathForm(const std::string& path) {
    return FileExists(path) ? path : std::string();
}

std::vector<std::string> BuildVideoCommandLine(const std::string& programFolder,
                                               const EncodingSettings& settings,
                                               const std::string& sourceShort, const std::string& outputShort,
                                               const std::vector<std::string>& trackWords) {
    std::vector<std::string> words{EncoderPath(programFolder), "-i", sourceShort};
    words.insert(words.end(), trackWords.begin(), trackWords.end());
    words.insert(words.end(), {"-f", "mp4", "-b", VideoBitrateText(settings.videoBitrate), "-r",
                               FrameRateText(settings.frameRate), "-s", VideoSizeText(settings.videoSize),
                               "-ar", std::to_string(SampleRateValue(settings.sampleRate)), "-ab",
                               std::to_string(AudioBitrateValue(settings.audioBitrate)), "-ac",
                               std::to_string(ChannelCount(settings.channel)), "-y", outputShort});
    return words;
}

std::vector<std::string> BuildThumbnailCommandLine(const std::string& programFolder,
                                                   const std::string& sourceShort,
                                                   const std::string& thumbnailShort,
                                                   const std::vector<std::string>& trackWords) {
    std::vector<std::string> words{EncoderPath(programFolder), "-i", sourceShort};
    words.insert(words.end(), trackWords.begin(), trackWords.end());
    words.insert(words.end(), {"-vcodec", "mjpeg", "-vframes", "1", "-an", "-f", "image2", "-s", "160x120",
                               "-y", thumbnailShort});
    return words;
}

} // namespace velmora
