#include "encoder/PspMuxer.h"

#include "encoder/EncoderError.h"
#include "encoder/OutputFile.h"

namespace velmora::encoder {
namespace {

// Bytes that are not UTF-8 (a name from another code page) are read as Latin-1, so that the title
// survives rather than being dropped by the muxer.
std::string AsUtf8(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        size_t length = byte < 0x80           ? 1
                        : (byte >> 5) == 0x6  ? 2
                        : (byte >> 4) == 0xE  ? 3
                        : (byte >> 3) == 0x1E ? 4
                                              : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid) {
            result.append(text, i, length);
            i += length;
        } else {
            result += static_cast<char>(0xC0 | (byte >> 6));
            result += static_cast<char>(0x80 | (byte & 0x3F));
            ++i;
        }
    }
    return result;
}

} // namespace

std::string TitleOf(const std::string& sourcePath) {
    size_t slash = sourcePath.find_last_of('/');
    std::string name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return AsUtf8(name);
}

PspMuxer::PspMuxer() {
    AVFormatContext* allocated = nullptr;
    Check(avformat_alloc_output_context2(&allocated, nullptr, "psp", nullptr), "Cannot set up the PSP muxer");
    format_.reset(allocated);
}

bool PspMuxer::NeedsGlobalHeaders() const {
    return format_->oformat->flags & AVFMT_GLOBALHEADER;
}

AVStream* PspMuxer::AddStream(const AVCodecContext& encoder) {
    AVStream* stream = avformat_new_stream(format_.get(), nullptr);
    if (!stream)
        throw EncoderError("Out of memory adding an output stream");
    Check(avcodec_parameters_from_context(stream->codecpar, &encoder), "Cannot set up an output stream");
    stream->time_base = encoder.time_base;
    return stream;
}

void PspMuxer::Prepare(const std::string& path, const std::string& title, const AVCodecContext& video,
                       const AVCodecContext& audio) {
    path_ = path;
    AVStream* videoStream = AddStream(video);
    // The PROF atom states the frame rate from here.
    videoStream->avg_frame_rate = video.framerate;
    videoStream->r_frame_rate = video.framerate;
    AddStream(audio);
    av_dict_set(&format_->metadata, "title", title.c_str(), 0);
    ExpectWritableOutput(path);
}

void PspMuxer::Start() {
    output_ = ReplaceOutput(path_, &written_);
    format_->pb = output_->Context();
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    started_ = true;
    Check(avformat_write_header(format_.get(), nullptr), "Cannot write the header of '" + path_ + "'");
}

void PspMuxer::Write(AVPacket* packet, int streamIndex, AVRational encoderTimeBase) {
    std::lock_guard lock(mutex_);
    // The header sets the streams' time bases.
    if (!started_)
        Start();
    packet->stream_index = streamIndex;
    av_packet_rescale_ts(packet, encoderTimeBase, format_->streams[streamIndex]->time_base);
    Check(av_interleaved_write_frame(format_.get(), packet), "Cannot write to '" + path_ + "'");
}

bool PspMuxer::Started() {
    std::lock_guard lock(mutex_);
    return started_;
}

void PspMuxer::Finish() {
    std::lock_guard lock(mutex_);
    Check(av_write_trailer(format_.get()), "Cannot finish '" + path_ + "'");
    ExpectOutputAtName(path_, written_);
    output_->Close("Cannot finish '" + path_ + "'");
}

} // namespace velmora::encoder
