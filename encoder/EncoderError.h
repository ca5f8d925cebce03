#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora::encoder {

// Every failure of the encoder: one line of text that ends the job with exit code 1.
class EncoderError : public std::runtime_error {
public:
    explicit EncoderError(const std::string& message) : std::runtime_error(message) {}
};

// FFmpeg's own text for an error code (av_strerror).
std::string FFmpegErrorText(int code);

// Returns code when it is not an error; otherwise throws "<what>: <FFmpeg's text>".
int Check(int code, std::string_view what);

} // namespace velmora::encoder
