#include "engine/PairIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat status = {};
    if (path.empty() || lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

bool RemoveIfStill(const std::string& path, const FileIdentity& identity) {
    return IdentityOf(path) == identity && unlink(path.c_str()) == 0;
}

} // namespace velmora
