#include "platform/VolumeSpace.h"

#include <sys/statvfs.h>

namespace velmora {

std::optional<std::uint64_t> FreeBytesAt(const std::string& path) {
    std::string at = path;
    for (;;) {
        struct statvfs volume = {};
        if (!at.empty() && statvfs(at.c_str(), &volume) == 0)
            return static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize;
        // Up one folder: "/a/b/" and "/a/b" both go to "/a".
        while (at.size() > 1 && at.back() == '/')
            at.pop_back();
        const std::size_t slash = at.rfind('/');
        if (slash == std::string::npos || at == "/")
            return std::nullopt;
        at.resize(slash == 0 ? 1 : slash);
    }
}

} // namespace velmora
