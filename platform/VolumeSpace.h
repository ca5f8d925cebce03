#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The path itself when it exists, else its nearest existing parent; empty when none exists.
std::string NearestExistingPath(const std::string& path);

// The bytes an ordinary user may still write on the volume that holds the path, read at the path or,
// while it does not exist yet, at its nearest existing parent. Nothing when none can be read.
std::optional<std::uint64_t> FreeBytesAt(const std::string& path);

} // namespace velmora
