#pragma once

#include "encoder/DescriptorIO.h"
#include "encoder/FFmpegPointers.h"

#include <memory>
#include <string>

namespace velmora::encoder {

// Opens a source as a local file and nothing else: a regular file (a named pipe, device or folder is
// refused before it is read), no reader that fetches further files or addresses the source names
// (playlists, concat scripts, session descriptions), and no other file opened on the source's behalf.
// Throws EncoderError with one line for a source that cannot be opened or is refused.
class LocalSource {
public:
    explicit LocalSource(const std::string& path);
    // Reads `file`, opened already, as the file `path` names: a converted copy of it.
    LocalSource(const std::string& path, FileDescriptor file);
    LocalSource(const LocalSource&) = delete;
    LocalSource& operator=(const LocalSource&) = delete;

    AVFormatContext* Format() const { return format_.get(); }
    // Reads ahead to learn the streams; a reader that tries to open anything else is refused here too.
    void FindStreamInfo();

private:
    static int OpenNested(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                          AVDictionary** options);
    std::string RefusalText() const;

    std::string path_;
    std::string url_;
    // Declared before the format so that it is closed after it: the format only borrows the file.
    std::unique_ptr<DescriptorIO> io_;
    InputFormatPtr format_;
    bool refusedOpen_ = false;
};

} // namespace velmora::encoder
