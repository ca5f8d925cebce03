#pragma once

// WithTrailingSeparator, which the output folder is written with.
#include "platform/FileSystem.h"

#include <string>

namespace velmora {

// One converted file's two names in the output folder.
struct OutputPair {
    std::string video;     // folder/M4V<n>.MP4
    std::string thumbnail; // folder/M4V<n>.THM
    // "M4V<n>", as the PSP lists it.
    std::string Name() const;
};

// Claims folder/M4V<n>.MP4 and .THM for the smallest n from 50000 up at which neither name is taken by
// any entry (a file, a folder, a link, even a dangling one): both are created new, never opened
// through a link or truncated, and hold the placeholder. Another program or window claiming names in
// the same folder at the same time gets another n. Past 99999 the number simply grows. Raises
// EInOutError with the system's text and a line naming the file when a name cannot be created.
OutputPair ReserveOutputPair(const std::string& folder);

// The video path with its extension replaced by ".THM": M4V50000.MP4 gives M4V50000.THM.
std::string ThumbnailPathFor(const std::string& videoPath);

// Drops one trailing '/' and creates the folder with every missing parent unless it exists. True when
// the folder exists afterwards; otherwise errno tells why. An empty text raises EInOutError
// "Unable to create directory".
bool EnsureOutputFolder(const std::string& folder);

// Creates or empties the file and writes the 6-byte placeholder "temp\r\n" into it. Raises
// EInOutError with the system's text when that fails.
void WritePlaceholder(const std::string& path);

// True when the name is a regular file holding nothing but the placeholder: what an encoder that
// wrote nothing leaves, and no player can open.
bool HoldsPlaceholder(const std::string& path);

// Removes whatever an encoder that failed left at the name; a link there is removed, not followed.
void RemoveOutputFile(const std::string& path);

// The error's text with a line naming the file or folder it concerns, quoted so that the name's end is
// plain even when the report adds its closing period.
std::string NamingLine(const std::string& text, const char* what, const std::string& path);

} // namespace velmora
