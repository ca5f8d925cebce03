#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velmora::test {

// Makes a source with the ffmpeg program: `arguments` are its inputs and options, `path` the output.
void MakeSource(const std::string& path, const std::vector<std::string>& arguments);

// What ffprobe says about a file's format and streams.
class MediaProbe {
public:
    explicit MediaProbe(const std::string& path);

    int StreamCount() const;
    std::string Stream(int index, const std::string& field) const;
    double StreamNumber(int index, const std::string& field) const;
    std::string Format(const std::string& field) const;
    double FormatNumber(const std::string& field) const;

private:
    std::string Value(const std::string& key) const;
    std::map<std::string, std::string> values_;
};

// A decoded picture of a file's video, as rows of R, G, B bytes.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;

    // One channel (0 red, 1 green, 2 blue) of the pixel at column x, row y.
    int At(int x, int y, int channel) const;

    // The brightest channel value in the rectangle [left, right) x [top, bottom).
    int Brightest(int left, int top, int right, int bottom) const;
    // The darkest pixel's brightest channel in the rectangle: high when the whole area is lit.
    int Darkest(int left, int top, int right, int bottom) const;
};
// The picture shown at `seconds` (the first one for 0).
RgbPicture DecodePicture(const std::string& path, double seconds = 0);

// The H.264 headers of a file's video stream, as FFmpeg's trace_headers filter reads them.
struct H264Facts {
    int profileIdc = -1;
    int levelIdc = -1;
    int maxRefFrames = -1;
    int slices = 0;
    int slicesNotAtPictureStart = 0; // a picture cut into several slices
    int longestBRun = 0;             // B-pictures in a row, in coded order
};
H264Facts ReadH264Facts(const std::string& path);

// The mean level of a file's audio in dB, as the volumedetect filter measures it; from `start` to
// `end` seconds when given.
double MeanVolume(const std::string& path, double start = 0, double end = -1);

} // namespace velmora::test
