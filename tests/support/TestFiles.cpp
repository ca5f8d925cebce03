#include "tests/support/TestFiles.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmora::test {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/velmora-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    // Reachable by an unprivileged child too.
    chmod(pattern.c_str(), 0777);
    path_ = pattern + "/";
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ignored);
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteTextFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string FileIdentity(const std::string& path) {
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0)
        return "missing";
    return std::to_string(info.st_ino) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

bool PathExists(const std::string& path) {
    struct stat info = {};
    return lstat(path.c_str(), &info) == 0;
}

void MakeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}

void CopyShippedLanguageFiles(const std::string& sourceTree, const std::string& programFolder) {
    MakeFolder(programFolder + "language");
    for (const std::string& name : FolderEntries(sourceTree + "/resources/language"))
        WriteTextFile(programFolder + "language/" + name,
                      ReadTextFile(sourceTree + "/resources/language/" + name));
}

std::vector<std::string> FolderEntries(const std::string& path) {
    std::vector<std::string> names;
    for (auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void UseSandboxEnvironment(const TemporaryFolder& sandbox) {
    MakeFolder(sandbox / "home");
    MakeFolder(sandbox / "tmp");
    setenv("HOME", (sandbox / "home").c_str(), 1);
    setenv("TMPDIR", (sandbox / "tmp").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (sandbox / "home/.config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (sandbox / "tmp").c_str(), 1);
    unsetenv("XDG_VIDEOS_DIR");
    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + sandbox / "no-system-bus").c_str(), 1);
    // No desktop notice from a test reaches the person's desktop.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + sandbox / "no-session-bus").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

std::string RunWithoutPrivileges(const std::function<std::string()>& check) {
    if (geteuid() != 0)
        return check();
    int channel[2];
    if (pipe(channel) != 0)
        return "pipe failed";
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const gid_t nobodyGroup = 65534;
        const uid_t nobody = 65534;
        std::string result;
        if (setgroups(0, nullptr) != 0 || setgid(nobodyGroup) != 0 || setuid(nobody) != 0)
            result = "cannot drop privileges";
        else
            result = check();
        ssize_t ignored = write(channel[1], result.data(), result.size());
        (void)ignored;
        _exit(0);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t count;
    while ((count = read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<size_t>(count));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return "check crashed";
    return result;
}

} // namespace velmora::test
