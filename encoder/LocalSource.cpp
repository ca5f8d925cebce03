#include "encoder/LocalSource.h"

#include "encoder/EncoderError.h"

#include <array>
#include <string_view>

namespace velmora::encoder {
namespace {

// Playlists and other descriptions whose reader opens the files or addresses written inside them.
constexpr std::array<std::string_view, 9> kForwardingReaders = {"hls",  "dash", "concat", "imf",   "sdp",
                                                                "rtsp", "rtp",  "sap",    "vobsub"};

std::string OpenFailureText(const std::string& path, int code) {
    return "Cannot open source '" + path + "': " + FFmpegErrorText(code);
}

} // namespace

bool ReadsNamedResources(const std::string& formatName) {
    for (std::string_view refused : kForwardingReaders)
        if (formatName == refused)
            return true;
    return false;
}

LocalSource::LocalSource(const std::string& path) : path_(path), url_("file:" + path) {
    OptionDictionary ioOptions;
    ioOptions.Set("protocol_whitelist", "file");
    int result = avio_open2(&io_, url_.c_str(), AVIO_FLAG_READ, nullptr, ioOptions.Address());
    if (result < 0)
        throw EncoderError(OpenFailureText(path, result));

    // The reader is chosen here, from the content, so that a refused one never reads its header.
    const AVInputFormat* reader = nullptr;
    result = av_probe_input_buffer2(io_, &reader, url_.c_str(), nullptr, 0, 0);
    if (result < 0 || reader == nullptr) {
        avio_closep(&io_);
        throw EncoderError(OpenFailureText(path, result < 0 ? result : AVERROR_INVALIDDATA));
    }
    if (ReadsNamedResources(reader->name)) {
        avio_closep(&io_);
        throw EncoderError("Refused source '" + path + "': it is a playlist or script (" + reader->name +
                           ") naming other files or addresses; only local video files are converted");
    }

    format_ = avformat_alloc_context();
    if (format_ == nullptr) {
        avio_closep(&io_);
        throw EncoderError("Out of memory opening the source");
    }
    format_->pb = io_;
    format_->opaque = this;
    format_->io_open = &LocalSource::OpenNested;
    OptionDictionary formatOptions;
    formatOptions.Set("protocol_whitelist", "file");
    // A picture-file reader would take a number pattern in the name for a list of files.
    formatOptions.Set("pattern_type", "none");
    result = avformat_open_input(&format_, url_.c_str(), reader, formatOptions.Address());
    if (result < 0) {
        // The context was freed; the file is ours to close.
        avio_closep(&io_);
        throw EncoderError(refusedOpen_ ? RefusalText() : OpenFailureText(path, result));
    }
}

LocalSource::~LocalSource() {
    avformat_close_input(&format_);
    avio_closep(&io_);
}

std::string LocalSource::RefusalText() const {
    return "Refused source '" + path_ +
           "': it names other files or addresses; only local video files are converted";
}

int LocalSource::OpenNested(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                            AVDictionary** options) {
    auto* self = static_cast<LocalSource*>(format->opaque);
    // Only the source itself may be opened again (a picture-file reader does).
    if (self == nullptr || (flags & AVIO_FLAG_WRITE) || url == nullptr || self->url_ != url) {
        if (self != nullptr)
            self->refusedOpen_ = true;
        return AVERROR(EPERM);
    }
    if (options != nullptr)
        av_dict_set(options, "protocol_whitelist", "file", 0);
    return avio_open2(io, url, flags, &format->interrupt_callback, options);
}

} // namespace velmora::encoder
