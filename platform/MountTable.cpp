#include "platform/MountTable.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace velmora {

namespace {

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

std::string Unescaped(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

} // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text) {
    std::vector<MountEntry> mounts;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::vector<std::string_view> fields = Fields(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (fields.size() >= 3)
            mounts.push_back({Unescaped(fields[0]), Unescaped(fields[1]), Unescaped(fields[2])});
    }
    return mounts;
}

std::string ReadMountTableText() {
    std::string text;
    ReadWholeFile("/proc/self/mounts", text);
    return text;
}

bool LiesInFolder(const std::string& path, const std::string& folder) {
    const std::string_view inner = WithoutTrailingSeparators(path);
    const std::string_view outer = WithoutTrailingSeparators(folder);
    if (outer.empty() || inner.substr(0, outer.size()) != outer)
        return false;
    return inner.size() == outer.size() || outer == "/" || inner[outer.size()] == '/';
}

std::optional<MountEntry> MountHolding(const std::string& path, const std::vector<MountEntry>& mounts) {
    std::optional<MountEntry> holding;
    for (const MountEntry& mount : mounts)
        if (LiesInFolder(path, mount.folder) &&
            (!holding || WithoutTrailingSeparators(mount.folder).size() >=
                             WithoutTrailingSeparators(holding->folder).size()))
            holding = mount;
    return holding;
}

bool IsMountFolder(const std::string& folder, const std::vector<MountEntry>& mounts) {
    for (const MountEntry& mount : mounts)
        if (WithoutTrailingSeparators(mount.folder) == WithoutTrailingSeparators(folder))
            return true;
    return false;
}

} // namespace velmora
