#pragma once

#include "encoder/FFmpegPointers.h"

#include <string>
#include <sys/types.h>

namespace velmora::encoder {

// An open file descriptor, closed by its owner.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;

    int Get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }
    int Release();

private:
    int descriptor_;
};

// Why a file of this kind is neither read nor written: "it is not a regular file (a named pipe)".
std::string NotARegularFileText(mode_t mode);

// Throws EncoderError "<refusal>it is not a regular file (...)" unless the open file is a regular file,
// which is then made to block again for FFmpeg's reads and writes.
void ExpectRegularFile(int descriptor, const std::string& refusal);

// FFmpeg reading or writing through one open descriptor, never through the file's name again, so that
// the file that was checked is the file used. It seeks both ways: the MP4 muxer goes back to finish
// its header.
class DescriptorIO {
public:
    enum class Direction { Read, Write };
    // Throws EncoderError when memory runs out.
    DescriptorIO(FileDescriptor file, Direction direction);
    DescriptorIO(const DescriptorIO&) = delete;
    DescriptorIO& operator=(const DescriptorIO&) = delete;

    AVIOContext* Context() const { return context_.get(); }
    // Writes out what is buffered and closes the file; throws EncoderError "<what>: <reason>" when
    // either failed.
    void Close(const std::string& what);

private:
#if LIBAVFORMAT_VERSION_MAJOR >= 61
    using WriteBuffer = const uint8_t*;
#else
    using WriteBuffer = uint8_t*;
#endif
    static int Read(void* opaque, uint8_t* buffer, int size);
    static int Write(void* opaque, WriteBuffer buffer, int size);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    FileDescriptor file_;
    // Declared after the file, so that it is freed before the file is closed.
    CustomIOContextPtr context_;
};

} // namespace velmora::encoder
