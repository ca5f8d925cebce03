#include "tests/encoder/support/EncoderCommands.h"

#include "tests/support/TestFiles.h"

namespace velmora::test {

std::vector<std::string> VideoWords(const std::string& source, const std::string& output,
                                    const VideoChoice& choice) {
    return {"-i",  source,
            "-f",  "mp4",
            "-b",  choice.videoBitrate,
            "-r",  choice.frameRate,
            "-s",  choice.size,
            "-ar", choice.sampleRate,
            "-ab", choice.audioBitrate,
            "-ac", choice.channels,
            "-y",  output};
}

std::vector<std::string> ThumbnailWords(const std::string& source, const std::string& output) {
    return {"-i", source,   "-vcodec", "mjpeg",   "-vframes", "1",   "-an",
            "-f", "image2", "-s",      "160x120", "-y",       output};
}

void WritePlaceholder(const std::string& path) {
    WriteTextFile(path, "temp\r\n");
}

} // namespace velmora::test
