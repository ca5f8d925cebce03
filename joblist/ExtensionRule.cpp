#include "joblist/ExtensionRule.h"

#include "platform/AsciiText.h"

#include <algorithm>
#include <string>

namespace velmora {

std::string_view PathExtension(std::string_view path) {
    const size_t mark = path.find_last_of("./");
    if (mark == std::string_view::npos || path[mark] != '.')
        return {};
    return path.substr(mark);
}

bool PassesExtensionRule(std::string_view path) {
    const std::string_view extension = PathExtension(path);
    if (extension.empty())
        return false;
    std::string lowered(extension);
    for (char& c : lowered)
        c = AsciiLower(c);
    return kAcceptedExtensions.find(lowered) != std::string_view::npos;
}

std::vector<std::string_view> AcceptedExtensionPatterns() {
    std::vector<std::string_view> patterns;
    std::string_view rest = kAcceptedExtensions;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(';'), rest.size());
        if (end > 0)
            patterns.push_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return patterns;
}

} // namespace velmora
