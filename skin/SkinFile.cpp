#include "skin/SkinFile.h"

#include "platform/BoundedFileRead.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

constexpr const char* kDefaultDataFolders = "/usr/local/share:/usr/share";

bool Exists(const std::string& path) {
    struct stat info = {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> SplitFolders(const std::string& list) {
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t colon = std::min(list.find(':', start), list.size());
        // Only absolute entries count; a relative one would depend on the working folder.
        if (colon > start && list[start] == '/')
            folders.push_back(list.substr(start, colon - start));
        start = colon + 1;
    }
    return folders;
}

} // namespace

std::string FindSkinFile(const std::string& path, const std::string& programFolder,
                         const std::string& dataFolders) {
    if (Exists(path))
        return path;
    const std::string name = NameOf(path);
    if (name.empty())
        return {};
    std::vector<std::string> candidates;
    if (!programFolder.empty())
        candidates.push_back(WithTrailingSeparator(programFolder) + name);
    for (const std::string& folder : SplitFolders(dataFolders.empty() ? kDefaultDataFolders : dataFolders))
        candidates.push_back(WithTrailingSeparator(folder) + "velmora/" + name);
    for (const std::string& candidate : candidates)
        if (Exists(candidate))
            return candidate;
    return {};
}

std::string SessionDataFolders() {
    const char* value = std::getenv("XDG_DATA_DIRS");
    return value ? value : "";
}

std::string ReadSkinFile(const std::string& path) {
    std::string content;
    const BoundedRead read = ReadBoundedRegularFile(path, kSkinFileLimit, content);
    if (!read.Succeeded())
        throw EInOutError(read.error, DescribeUnreadFile(path, read, kSkinFileLimit));
    return content;
}

} // namespace velmora
