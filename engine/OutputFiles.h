#pragma once

// WithTrailingSeparator, which the output folder is written with.
#include "platform/FileSystem.h"

#include <string>

namespace velmora {

// folder/M4V<n>.MP4 for the smallest n from 50000 up whose .MP4 does not exist; a .THM alone does not
// count, and past 99999 the number simply grows.
std::string NextOutputPath(const std::string& folder);

// The video path with its extension replaced by ".THM": M4V50000.MP4 gives M4V50000.THM.
std::string ThumbnailPathFor(const std::string& videoPath);

// Drops one trailing '/' and creates the folder with every missing parent unless it exists. True when
// the folder exists afterwards; otherwise errno tells why. An empty text raises EInOutError
// "Unable to create directory".
bool EnsureOutputFolder(const std::string& folder);

// Creates or empties the file and writes the 6-byte placeholder "temp\r\n" into it, so that it exists
// when its command line is built. Raises EInOutError with the system's text when that fails.
void WritePlaceholder(const std::string& path);

} // namespace velmora
