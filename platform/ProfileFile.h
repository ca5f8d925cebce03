#pragma once

#include "platform/BoundedFileRead.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace velmora {

// An INI file read and written one key at a time, with nothing cached: every call opens the file,
// so every read sees what is on disk. Section and key names match without regard to ASCII case.
// A write changes one line in place (or adds the key, and its section if missing) and keeps every
// other byte of the file; it replaces the file atomically, so a failure never leaves it half-written.
// Writes hold a lock on "<file>.lock" from the read to the replacement, so that writers in several
// processes (two open windows of the program) never lose each other's keys.
class ProfileFile {
public:
    // The longest path Linux takes, so that a folder is stored whole.
    static constexpr size_t kMaxValueLength = 4095;
    // How long a write waits for another writer to finish before it gives up.
    static constexpr std::chrono::milliseconds kLockWait{5000};

    explicit ProfileFile(std::string path, std::chrono::milliseconds lockWait = kLockWait);

    const std::string& Path() const { return path_; }

    // The value with surrounding blanks and one pair of enclosing quotes dropped; the default when the
    // file, section or key is missing, and when the value is longer than kMaxValueLength bytes. A file
    // that is not a regular one of at most kProfileFileLimit bytes reads as missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Decimal, or hexadecimal after "0x"/"0X"; the default when absent, empty or not a number.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;

    // Raises EIniFileException "Unable to write to <path>" when the file or its folder is not writable,
    // when the file cannot be read whole, when the value is longer than kMaxValueLength, or when
    // another writer holds the lock for longer than the lock wait. A file with the empty path
    // stands for settings that are not stored: reads give the defaults and writes do nothing. Writing
    // the value the key already reads as touches nothing, not even the lock.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& key, int32_t value) const;

private:
    std::string path_;
    std::chrono::milliseconds lockWait_;
};

// A profile file's text held in memory, for reading many keys of one file with one read.
class ProfileContent {
public:
    // An empty content when the file is missing or unreadable; outcome tells why.
    static ProfileContent Load(const std::string& path, BoundedRead* outcome = nullptr);
    explicit ProfileContent(std::string text) : text_(std::move(text)) {}

    // As ProfileFile::ReadString.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

private:
    std::string text_;
};

// The integer rule of ReadInteger, on a text already read.
int32_t ProfileTextToInteger(const std::string& text, int32_t defaultValue);

} // namespace velmora
