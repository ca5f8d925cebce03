#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velmora {

// The status line while a file converts: how far it is, then the file.
struct StatusLine {
    // "<msgStatusRun with n/N> [reached-length]"
    std::string progress;
    // The source's path as queued.
    std::string path;

    // The progress, a blank and the path: the line as a whole, for its tooltip.
    std::string Whole() const;
};

// The status line for the selected entry of count at reached of length seconds; a length of 0 or
// less is not known.
StatusLine MakeStatusLine(const std::string& runFormat, int selected, int count, std::int64_t reached,
                          std::int64_t length, const std::string& path);

// hh:mm:ss, or "--:--:--" for a length that is not known (0 or less).
std::string LengthClockText(std::int64_t seconds);

// "0:42", "12:04", "1:02:03": the short clock of a kept part or a run's length.
std::string ShortClockText(std::int64_t seconds);

// The path as it fits: whole when it does, otherwise with folders in its middle left out for "…"
// ("/very/…/holiday part 1.mp4"), keeping the file's name whole while "…/name" fits and shortening
// the name in its middle only after that. Never splits a UTF-8 character.
std::string PathShortenedToFit(const std::string& path, const std::function<bool(const std::string&)>& fits);

} // namespace velmora
