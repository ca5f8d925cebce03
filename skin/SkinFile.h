#pragma once

#include <string>

namespace velmora {

// Where a skin file is looked for: the path as given; else a file of the same name in the program
// folder; else in velmora/ under each folder of the data-folder list (colon-separated, as
// $XDG_DATA_DIRS; "/usr/local/share:/usr/share" when empty). Returns the first that exists, or the
// empty text. Anything of that name counts, so that an unreadable one is reported rather than skipped.
std::string FindSkinFile(const std::string& path, const std::string& programFolder,
                         const std::string& dataFolders);

// The data-folder list of this session: $XDG_DATA_DIRS, or the empty text.
std::string SessionDataFolders();

// The whole file as bytes; raises EInOutError naming the file when it cannot be read, or is not a
// regular file of at most kSkinFileLimit bytes.
std::string ReadSkinFile(const std::string& path);

} // namespace velmora
