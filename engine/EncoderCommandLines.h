#pragma once

#include "engine/EncodingSettings.h"

#include <string>
#include <vector>

namespace velmora {

// The encoder's argument vectors. Every word reaches the encoder as it stands, blanks included; an
// empty path stays an empty word, so the encoder sees "-i" followed by nothing and fails on it.

// programFolder + "libq7z"; the folder carries its trailing '/'.
std::string EncoderPath(const std::string& programFolder);

// Linux keeps no short names: the path itself when such a file exists, else the empty text.
std::string ShortPathForm(const std::string& path);

// libq7z -i SRC -f mp4 -b 1000k -r 25.00 -s 400x192 -ar 44100 -ab 128 -ac 2 -y OUT, with the sound and
// subtitle words (TrackPreferenceWords) right after the source.
std::vector<std::string> BuildVideoCommandLine(const std::string& programFolder,
                                               const EncodingSettings& settings,
                                               const std::string& sourceShort, const std::string& outputShort,
                                               const std::vector<std::string>& trackWords = {});

// libq7z -i SRC -vcodec mjpeg -vframes 1 -an -f image2 -s 160x120 -y THM, whatever the video size; the
// track words as on the video line.
std::vector<std::string> BuildThumbnailCommandLine(const std::string& programFolder,
                                                   const std::string& sourceShort,
                                                   const std::string& thumbnailShort,
                                                   const std::vector<std::string>& trackWords = {});

} // namespace velmora
