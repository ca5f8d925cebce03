#pragma once

#include "tests/support/TestFiles.h"

#include <map>
#include <string>

namespace velmora::test {

// The project as `cmake --install` lays it out under the prefix /usr, in a temporary DESTDIR.
class InstalledTree {
public:
    // Installs from the build folder the tests were built in; throws with the installer's output
    // when it fails.
    InstalledTree();

    // The DESTDIR, with a trailing '/'.
    const std::string& Root() const { return root_.Path(); }
    // <DESTDIR>/usr/ + relative
    std::string Usr(const std::string& relative) const { return root_ / "usr/" + relative; }
    std::string ProgramFolder() const { return Usr("lib/velmora/"); }

private:
    TemporaryFolder root_;
};

// Every file and link under the folder, by path relative to it, with what tells a change: kind,
// size and modification time.
std::map<std::string, std::string> TreeSnapshot(const std::string& folder);

// A PNG picture's width and height from its header; {0, 0} when the file is not a PNG.
std::pair<int, int> PngSize(const std::string& path);

} // namespace velmora::test
