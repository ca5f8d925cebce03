#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The folder's path, with a trailing '/'.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
// The file's inode and modification time: any write or replacement changes them.
std::string FileIdentity(const std::string& path);
bool PathExists(const std::string& path);
void MakeFolder(const std::string& path);
// Copies the three language files from the source tree's resources/language/ into
// <programFolder>language/ (programFolder with its trailing '/').
void CopyShippedLanguageFiles(const std::string& sourceTree, const std::string& programFolder);

// Every name in the folder, "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& path);

// Points HOME, TMPDIR, XDG_CONFIG_HOME and XDG_RUNTIME_DIR into the sandbox and the system bus at an
// address where nothing listens, so that nothing a test process does reaches the real ones, and makes
// Qt draw offscreen unless told otherwise. Call at the start of main().
void UseSandboxEnvironment(const TemporaryFolder& sandbox);

// Runs the check where permission bits hold: as root, in a forked child that has given up root
// (user nobody); otherwise in this process. Returns the text the check returned, or how it failed.
std::string RunWithoutPrivileges(const std::function<std::string()>& check);

} // namespace velmora::test
