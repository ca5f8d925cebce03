#pragma once

namespace velmora {

// Owns one open file descriptor and closes it when destroyed.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    // Closes quietly: a destructor has nobody to report to.
    ~FileDescriptor();

    int Get() const { return descriptor_; }
    bool IsOpen() const { return descriptor_ >= 0; }
    // Gives the descriptor up without closing it.
    int Release() noexcept {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return descriptor;
    }
    // Closes now; raises the operating-system error when the close fails.
    void Close();

private:
    int descriptor_ = -1;
};

} // namespace velmora
