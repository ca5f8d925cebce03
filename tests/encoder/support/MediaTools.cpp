#include "tests/encoder/support/MediaTools.h"

#include "tests/encoder/support/EncoderRun.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace velmora::test {

void MakeSource(const std::string& path, const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    words.push_back(path);
    RunTool(words);
}

MediaProbe::MediaProbe(const std::string& path) {
    std::string text =
        RunTool({"ffprobe", "-v", "error", "-show_format", "-show_streams", "-of", "flat=s=_", path});
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        values_[line.substr(0, equals)] = value;
    }
}

std::string MediaProbe::Value(const std::string& key) const {
    auto found = values_.find(key);
    return found == values_.end() ? "" : found->second;
}

int MediaProbe::StreamCount() const {
    int count = 0;
    while (!Value("streams_stream_" + std::to_string(count) + "_index").empty())
        ++count;
    return count;
}

std::string MediaProbe::Stream(int index, const std::string& field) const {
    return Value("streams_stream_" + std::to_string(index) + "_" + field);
}

double MediaProbe::StreamNumber(int index, const std::string& field) const {
    std::string text = Stream(index, field);
    return text.empty() || text == "N/A" ? -1 : std::stod(text);
}

std::string MediaProbe::Format(const std::string& field) const {
    return Value("format_" + field);
}

double MediaProbe::FormatNumber(const std::string& field) const {
    std::string text = Format(field);
    return text.empty() || text == "N/A" ? -1 : std::stod(text);
}

int RgbPicture::At(int x, int y, int channel) const {
    return bytes[(static_cast<size_t>(y) * width + x) * 3 + channel];
}

int RgbPicture::Brightest(int left, int top, int right, int bottom) const {
    int brightest = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            for (int c = 0; c < 3; ++c)
                brightest = std::max(brightest, At(x, y, c));
    return brightest;
}

int RgbPicture::Darkest(int left, int top, int right, int bottom) const {
    int darkest = 255;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            darkest = std::min(darkest, std::max({At(x, y, 0), At(x, y, 1), At(x, y, 2)}));
    return darkest;
}

RgbPicture DecodePicture(const std::string& path, double seconds) {
    MediaProbe probe(path);
    RgbPicture picture;
    picture.width = static_cast<int>(probe.StreamNumber(0, "width"));
    picture.height = static_cast<int>(probe.StreamNumber(0, "height"));
    std::string data = RunTool({"ffmpeg", "-nostdin", "-v", "error", "-ss", std::to_string(seconds), "-i",
                                path, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (data.size() != static_cast<size_t>(picture.width) * picture.height * 3)
        throw std::runtime_error("unexpected picture size from " + path);
    picture.bytes.assign(data.begin(), data.end());
    return picture;
}

H264Facts ReadH264Facts(const std::string& path) {
    std::string trace;
    RunTool({"ffmpeg", "-nostdin", "-i", path, "-map", "0:v", "-c", "copy", "-bsf:v", "trace_headers", "-f",
             "null", "-"},
            &trace);
    H264Facts facts;
    std::istringstream lines(trace);
    int bRun = 0;
    for (std::string line; std::getline(lines, line);) {
        // "[trace_headers @ 0x...] 24          level_idc                    00010101 = 21"
        size_t equals = line.rfind(" = ");
        if (equals == std::string::npos)
            continue;
        std::istringstream words(line.substr(line.find(']') + 1, equals));
        std::string position;
        std::string name;
        words >> position >> name;
        int value = std::atoi(line.c_str() + equals + 3);
        if (name == "profile_idc")
            facts.profileIdc = value;
        else if (name == "level_idc")
            facts.levelIdc = value;
        else if (name == "max_num_ref_frames")
            facts.maxRefFrames = std::max(facts.maxRefFrames, value);
        else if (name == "first_mb_in_slice") {
            ++facts.slices;
            if (value != 0)
                ++facts.slicesNotAtPictureStart;
        } else if (name == "slice_type") {
            bRun = value % 5 == 1 ? bRun + 1 : 0;
            facts.longestBRun = std::max(facts.longestBRun, bRun);
        }
    }
    return facts;
}

double MeanVolume(const std::string& path, double start, double end) {
    std::string filters = "volumedetect";
    if (end > start)
        filters = "atrim=start=" + std::to_string(start) + ":end=" + std::to_string(end) + "," + filters;
    std::string log;
    RunTool({"ffmpeg", "-nostdin", "-i", path, "-map", "0:a", "-af", filters, "-f", "null", "-"}, &log);
    size_t at = log.find("mean_volume: ");
    if (at == std::string::npos)
        throw std::runtime_error("no volume measured for " + path);
    return std::stod(log.substr(at + 13));
}

} // namespace velmora::test
