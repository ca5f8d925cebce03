#pragma once

#include "encoder/FFmpegPointers.h"

#include <string>

namespace velmora::encoder {

// Opens a source as a local file and nothing else: the file protocol only, no reader that fetches
// further files or addresses the source names (playlists, concat scripts, session descriptions), and
// no other file opened on the source's behalf. Throws EncoderError with one line for a source that
// cannot be opened or is refused.
class LocalSource {
public:
    explicit LocalSource(const std::string& path);
    ~LocalSource();
    LocalSource(const LocalSource&) = delete;
    LocalSource& operator=(const LocalSource&) = delete;

    AVFormatContext* Format() const { return format_; }
    // Whether the reader tried to open something besides the source; checked after a failure.
    bool RefusedAnOpen() const { return refusedOpen_; }
    std::string RefusalText() const;

private:
    static int OpenNested(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                          AVDictionary** options);

    std::string path_;
    std::string url_;
    AVIOContext* io_ = nullptr;
    AVFormatContext* format_ = nullptr;
    bool refusedOpen_ = false;
};

// Whether a reader of this name fetches what the source names instead of reading the source itself.
bool ReadsNamedResources(const std::string& formatName);

} // namespace velmora::encoder
