#pragma once

#include "encoder/DescriptorIO.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/OutputFile.h"

#include <memory>
#include <mutex>
#include <string>

namespace velmora::encoder {

// The output file in FFmpeg's "psp" flavour of MP4 (brand MSNV, the PSP's PROF and USMT atoms): video
// as stream 0, audio as stream 1, the title the PSP shows in its list.
class PspMuxer {
public:
    PspMuxer();

    // Whether encoders must keep their headers out of the stream, set before they are opened.
    bool NeedsGlobalHeaders() const;

    // Adds both streams and checks that the file can be written; the file itself is left as it is.
    void Prepare(const std::string& path, const std::string& title, const AVCodecContext& video,
                 const AVCodecContext& audio);

    // Writes an encoded packet (its timestamps in the encoder's time base) of stream 0 or 1. Safe to
    // call from the video and the audio thread at once. The first packet replaces whatever the file
    // held with the file's header.
    void Write(AVPacket* packet, int streamIndex, AVRational encoderTimeBase);

    // Whether the file was written to.
    bool Started();

    // Writes the index and closes the file.
    void Finish();

private:
    AVStream* AddStream(const AVCodecContext& encoder);
    void Start();

    // Declared before the format so that it is closed after it: the format only borrows the file.
    std::unique_ptr<DescriptorIO> output_;
    OutputFormatPtr format_;
    std::string path_;
    // Which file the output is, so that the end can tell it is still at its name.
    OutputIdentity written_;
    std::mutex mutex_;
    bool started_ = false;
};

// The title of a source: its file name without folder and extension, as valid UTF-8.
std::string TitleOf(const std::string& sourcePath);

} // namespace velmora::encoder
