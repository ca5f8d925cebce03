#include "encoder/DescriptorIO.h"

#include "encoder/EncoderError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::encoder {
namespace {

// FFmpeg's file protocol reads and writes in pieces of this size too.
constexpr int kBufferSize = 32768;

int ErrorCode() {
    return AVERROR(errno);
}

} // namespace

FileDescriptor::~FileDescriptor() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() {
    int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

std::string NotARegularFileText(mode_t mode) {
    const char* kind = S_ISLNK(mode)                    ? "a symbolic link"
                       : S_ISDIR(mode)                  ? "a folder"
                       : S_ISFIFO(mode)                 ? "a named pipe"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : "an unknown kind";
    return std::string("it is not a regular file (") + kind + ")";
}

void ExpectRegularFile(int descriptor, const std::string& refusal) {
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0)
        throw EncoderError(refusal + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        throw EncoderError(refusal + NotARegularFileText(status.st_mode));
    int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw EncoderError(refusal + std::strerror(errno));
}

DescriptorIO::DescriptorIO(FileDescriptor file, Direction direction) : file_(std::move(file)) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer == nullptr)
        throw EncoderError("Out of memory opening a file");
    bool writing = direction == Direction::Write;
    context_.reset(avio_alloc_context(buffer, kBufferSize, writing ? 1 : 0, this, writing ? nullptr : &Read,
                                      writing ? &Write : nullptr, &Seek));
    if (!context_) {
        av_free(buffer);
        throw EncoderError("Out of memory opening a file");
    }
}

void DescriptorIO::Close(const std::string& what) {
    avio_flush(context_.get());
    int error = context_->error;
    if (error >= 0 && ::close(file_.Release()) != 0)
        error = ErrorCode();
    if (error < 0)
        throw EncoderError(what + ": " + FFmpegErrorText(error));
}

int DescriptorIO::Read(void* opaque, uint8_t* buffer, int size) {
    int descriptor = static_cast<DescriptorIO*>(opaque)->file_.Get();
    ssize_t count;
    do
        count = ::read(descriptor, buffer, static_cast<size_t>(size));
    while (count < 0 && errno == EINTR);
    if (count < 0)
        return ErrorCode();
    return count == 0 ? AVERROR_EOF : static_cast<int>(count);
}

int DescriptorIO::Write(void* opaque, WriteBuffer buffer, int size) {
    int descriptor = static_cast<DescriptorIO*>(opaque)->file_.Get();
    for (int done = 0; done < size;) {
        ssize_t count = ::write(descriptor, buffer + done, static_cast<size_t>(size - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return ErrorCode();
        done += static_cast<int>(count);
    }
    return size;
}

int64_t DescriptorIO::Seek(void* opaque, int64_t offset, int whence) {
    int descriptor = static_cast<DescriptorIO*>(opaque)->file_.Get();
    if (whence == AVSEEK_SIZE) {
        struct stat status = {};
        return ::fstat(descriptor, &status) == 0 ? static_cast<int64_t>(status.st_size) : ErrorCode();
    }
    off_t reached = ::lseek(descriptor, offset, whence & ~AVSEEK_FORCE);
    return reached < 0 ? ErrorCode() : static_cast<int64_t>(reached);
}

} // namespace velmora::encoder
