#include "encoder/LocalSource.h"

#include "encoder/EncoderError.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>

namespace velmora::encoder {
namespace {

// Playlists and other descriptions whose reader opens the files or addresses written inside them.
constexpr std::array<std::string_view, 9> kForwardingReaders = {"hls",  "dash", "concat", "imf",   "sdp",
                                                                "rtsp", "rtp",  "sap",    "vobsub"};

std::string OpenFailureText(const std::string& path, int code) {
    return "Cannot open source '" + path + "': " + FFmpegErrorText(code);
}

// Whether a reader of this name fetches what the source names instead of reading the source itself.
bool ReadsNamedResources(const std::string& formatName) {
    for (std::string_view refused : kForwardingReaders)
        if (formatName == refused)
            return true;
    return false;
}

// Opens the source by its name once; a link to a video is followed. Non-blocking: a named pipe would
// hold the opening until something writes to it.
FileDescriptor OpenSourceFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file)
        throw EncoderError("Cannot open source '" + path + "': " + std::strerror(errno));
    ExpectRegularFile(file.Get(), "Refused source '" + path + "': ");
    return file;
}

} // namespace

LocalSource::LocalSource(const std::string& path) : LocalSource(path, OpenSourceFile(path)) {}

LocalSource::LocalSource(const std::string& path, FileDescriptor file)
    : path_(path), url_("file:" + path),
      io_(std::make_unique<DescriptorIO>(std::move(file), DescriptorIO::Direction::Read)) {
    // The reader is chosen here, from the content, so that a refused one never reads its header.
    const AVInputFormat* reader = nullptr;
    int result = av_probe_input_buffer2(io_->Context(), &reader, url_.c_str(), nullptr, 0, 0);
    if (result < 0 || reader == nullptr)
        throw EncoderError(OpenFailureText(path, result < 0 ? result : AVERROR_INVALIDDATA));
    if (ReadsNamedResources(reader->name))
        throw EncoderError("Refused source '" + path + "': it is a playlist or script (" + reader->name +
                           ") naming other files or addresses; only local video files are converted");

    AVFormatContext* format = avformat_alloc_context();
    if (format == nullptr)
        throw EncoderError("Out of memory opening the source");
    format->pb = io_->Context();
    format->opaque = this;
    format->io_open = &LocalSource::OpenNested;
    OptionDictionary formatOptions;
    formatOptions.Set("protocol_whitelist", "file");
    // A picture-file reader would take a number pattern in the name for a list of files.
    formatOptions.Set("pattern_type", "none");
    // On failure the context is freed; the file stays ours.
    result = avformat_open_input(&format, url_.c_str(), reader, formatOptions.Address());
    if (result < 0)
        throw EncoderError(refusedOpen_ ? RefusalText() : OpenFailureText(path, result));
    format_.reset(format);
}

void LocalSource::FindStreamInfo() {
    int result = avformat_find_stream_info(format_.get(), nullptr);
    if (refusedOpen_)
        throw EncoderError(RefusalText());
    if (result < 0)
        throw EncoderError("Cannot read source '" + path_ + "': " + FFmpegErrorText(result));
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
