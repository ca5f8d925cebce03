#include "engine/OutputFolderRule.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace velmora {

std::optional<std::string> AbsoluteOutputFolder(const std::string& text, const std::string& home) {
    if (text.empty() || text.front() == '/')
        return text;
    if ((text == "~" || text.rfind("~/", 0) == 0) && !home.empty() && home.front() == '/')
        return home + (home.back() == '/' ? text.substr(text.size() > 1 ? 2 : 1) : text.substr(1));
    return std::nullopt;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

} // namespace velmora
