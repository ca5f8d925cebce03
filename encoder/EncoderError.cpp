#include "encoder/EncoderError.h"

#include "encoder/FFmpeg.h"

namespace velmora::encoder {

std::string FFmpegErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(code, text, sizeof text) < 0)
        return "error " + std::to_string(code);
    return text;
}

int Check(int code, std::string_view what) {
    if (code < 0)
        throw EncoderError(std::string(what) + ": " + FFmpegErrorText(code));
    return code;
}

} // namespace velmora::encoder
