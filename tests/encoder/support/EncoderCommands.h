#pragma once

#include <string>
#include <vector>

namespace velmora::test {

// The six values of a video command line, in its order: -b -r -s -ar -ab -ac.
struct VideoChoice {
    std::string videoBitrate = "1000k";
    std::string frameRate = "25.00";
    std::string size = "400x192";
    std::string sampleRate = "44100";
    std::string audioBitrate = "128";
    std::string channels = "2";
};

// The words of the video and thumbnail command lines, as the desktop program builds them.
std::vector<std::string> VideoWords(const std::string& source, const std::string& output,
                                    const VideoChoice& choice = {});
std::vector<std::string> ThumbnailWords(const std::string& source, const std::string& output);

// Writes the 6-byte placeholder the desktop program leaves for the encoder to replace.
void WritePlaceholder(const std::string& path);

} // namespace velmora::test
