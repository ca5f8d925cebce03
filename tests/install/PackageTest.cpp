// The Debian package made by `cpack -G DEB` from this build: its name, version, computed dependencies
// and files. Made in a temporary folder; nothing is installed.
#include "tests/install/ProgramRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace velmora::test {
namespace {

// The control fields of a package, as dpkg-deb prints them.
std::map<std::string, std::string> ControlFields(const std::string& package) {
    const CommandResult fields = RunCommand({"dpkg-deb", "--field", package});
    EXPECT_EQ(fields.exitCode, 0) << fields.output;
    std::map<std::string, std::string> values;
    std::istringstream lines(fields.output);
    for (std::string line; std::getline(lines, line);) {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos && !line.empty() && line.front() != ' ')
            values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
}

// Whether `depends` names `library` with a lowest version; the name may go on with the library's major
// version and, on Debian 13, "t64".
bool NamesWithLowestVersion(const std::string& depends, const std::string& library) {
    std::istringstream entries(depends);
    for (std::string entry; std::getline(entries, entry, ',');) {
        entry.erase(0, entry.find_first_not_of(' '));
        const size_t version = entry.find(" (>= ");
        if (entry.rfind(library, 0) == 0 && version != std::string::npos &&
            entry.find_first_not_of("0123456789t", library.size()) == version)
            return true;
    }
    return false;
}

TEST(DebianPackage, CarriesItsVersionComputedDependenciesAndTheInstalledFiles) {
    TemporaryFolder output;
    const CommandResult made = RunCommand({VELMORA_CPACK_COMMAND, "-G", "DEB", "-B", output.Path(),
                                           "--config", VELMORA_BUILD_DIR "/CPackConfig.cmake"});
    ASSERT_EQ(made.exitCode, 0) << made.output;
    std::string architecture = RunCommand({"dpkg", "--print-architecture"}).output;
    architecture.erase(architecture.find_last_not_of('\n') + 1);
    const std::string package = output / "velmora_" VELMORA_VERSION "_" + architecture + ".deb";
    ASSERT_TRUE(PathExists(package)) << made.output;

    std::map<std::string, std::string> fields = ControlFields(package);
    EXPECT_EQ(fields["Package"], "velmora");
    EXPECT_EQ(fields["Version"], VELMORA_VERSION);
    EXPECT_EQ(fields["Architecture"], architecture);
    EXPECT_EQ(fields["Recommends"], "fonts-noto-cjk, qt6-translations-l10n");
    // Found by dpkg-shlibdeps in the libraries the two programs link against, each with a lowest
    // version.
    for (const char* library : {"libc6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libavformat",
                                "libavcodec", "libavfilter", "libavutil"})
        EXPECT_TRUE(NamesWithLowestVersion(fields["Depends"], library))
            << library << " in " << fields["Depends"];

    const CommandResult contents = RunCommand({"dpkg-deb", "--contents", package});
    ASSERT_EQ(contents.exitCode, 0) << contents.output;
    for (const char* entry :
         {"./usr/bin/velmora -> ../lib/velmora/velmora", "./usr/lib/velmora/velmora",
          "./usr/lib/velmora/libq7z", "./usr/lib/velmora/installed", "./usr/lib/velmora/language/en.ini",
          "./usr/lib/velmora/language/gb.ini", "./usr/lib/velmora/language/jp.ini",
          "./usr/share/applications/velmora.desktop", "./usr/share/icons/hicolor/scalable/apps/velmora.svg",
          "./usr/share/icons/hicolor/48x48/apps/velmora.png",
          "./usr/share/icons/hicolor/256x256/apps/velmora.png",
          "./usr/share/metainfo/example.velmora.Velmora.metainfo.xml", "./usr/share/doc/velmora/copyright",
          "./usr/share/doc/velmora/changelog.gz", "./usr/share/man/man1/velmora.1.gz",
          "./usr/share/man/man1/libq7z.1.gz"})
        EXPECT_NE(contents.output.find(entry), std::string::npos) << entry << " in\n" << contents.output;
    EXPECT_EQ(contents.output.find("config.ini"), std::string::npos) << contents.output;

    // What Debian's own packages must pass: no error and no warning (notes are allowed).
    const CommandResult lintian = RunCommand({"lintian", "--fail-on", "error,warning", package});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output;
    EXPECT_EQ(lintian.output.find("\nE: "), std::string::npos) << lintian.output;
    EXPECT_EQ(lintian.output.find("\nW: "), std::string::npos) << lintian.output;
}

} // namespace
} // namespace velmora::test
