#include "encoder/ConsoleStream.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace velmora::encoder {

void ConsoleStream::Write(std::string_view text) {
    std::lock_guard lock(mutex_);
    while (!text.empty()) {
        ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        // A reader that went away must not stop the encoding.
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<size_t>(written));
    }
}

void ConsoleStream::Line(std::string_view text) {
    // A file name may hold line breaks; the caller reads one message as one line.
    std::string line = "libq7z: " + std::string(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    Write(line + "\n");
}

} // namespace velmora::encoder
