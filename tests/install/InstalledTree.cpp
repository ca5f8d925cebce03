#include "tests/install/InstalledTree.h"

#include "tests/install/ProgramRun.h"

#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

namespace velmora::test {

InstalledTree::InstalledTree() {
    const CommandResult install = RunCommand({"env", "DESTDIR=" + root_.Path(), VELMORA_CMAKE_COMMAND,
                                              "--install", VELMORA_BUILD_DIR, "--prefix", "/usr"});
    if (install.exitCode != 0)
        throw std::runtime_error("cmake --install failed:\n" + install.output);
}

std::map<std::string, std::string> TreeSnapshot(const std::string& folder) {
    std::map<std::string, std::string> snapshot;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat info = {};
        lstat(entry.path().c_str(), &info);
        snapshot[std::filesystem::relative(entry.path(), folder).string()] =
            std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " +
            std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return snapshot;
}

std::pair<int, int> PngSize(const std::string& path) {
    const std::string content = ReadTextFile(path);
    // The signature, then the IHDR chunk's length and type, then width and height, big-endian.
    if (content.size() < 24 || content.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        content.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto number = [&](size_t at) {
        int value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(content[i]);
        return value;
    };
    return {number(16), number(20)};
}

} // namespace velmora::test
