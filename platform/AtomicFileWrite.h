#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Replaces the file at once or not at all: the content goes to a temporary file beside it, is flushed
// to the disk and renamed over it, so that a crash or a power loss during the write leaves either the
// old file or the new one. False on failure, with errno set and no temporary file left.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);

} // namespace velmora
