#include "platform/VolumeSpace.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace velmora {

std::string NearestExistingPath(const std::string& path) {
    std::string at = path;
    for (;;) {
        struct stat status = {};
        if (!at.empty() && stat(at.c_str(), &status) == 0)
            return at;
        // Up one folder: "/a/b/" and "/a/b" both go to "/a".
        at.resize(WithoutTrailingSeparators(at).size());
        const std::size_t slash = at.rfind('/');
        if (slash == std::string::npos || at == "/")
            return {};
        at.resize(slash == 0 ? 1 : slash);
    }
}

std::optional<std::uint64_t> FreeBytesAt(const std::string& path) {
    const std::string at = NearestExistingPath(path);
    struct statvfs volume = {};
    if (at.empty() || statvfs(at.c_str(), &volume) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
}

} // namespace velmora
