#include "platform/ProfileFile.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>

namespace velmora {
namespace {

using test::ReadTextFile;
using test::WriteTextFile;

class ProfileFileTest : public ::testing::Test {
protected:
    test::TemporaryFolder folder;
    std::string path = folder / "config.ini";
    ProfileFile file{path};
};

// The names in the folder, sorted. A failed write leaves no temporary file behind, only the lock file
// that writers share.
std::vector<std::string> SortedEntries(const test::TemporaryFolder& folder) {
    std::vector<std::string> entries = test::FolderEntries(folder.Path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Runs a write without privileges and returns the error text it raised, or "written".
std::string WriteOutcome(const ProfileFile& file) {
    return test::RunWithoutPrivileges([&] {
        try {
            file.WriteString("setting", "outputFolder", "/new/");
            return std::string("written");
        } catch (const EIniFileException& error) {
            return std::string(error.what());
        }
    });
}

TEST_F(ProfileFileTest, SectionAndKeyNamesMatchInAnyLetterCase) {
    WriteTextFile(path, "[Common]\nLANGUAGE=3\n[setting]\nOutputFolder=/videos/\n");
    EXPECT_EQ(file.ReadInteger("common", "language", 2), 3);
    EXPECT_EQ(file.ReadString("SETTING", "outputfolder", "c:\\"), "/videos/");
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(file.ReadString("setting", "outputFolder", "dflt"), "dflt");
    WriteTextFile(path, "[skin]\nskin=4\n; outputFolder=/commented/\n");
    EXPECT_EQ(file.ReadString("setting", "outputFolder", "dflt"), "dflt");
    EXPECT_EQ(file.ReadString("skin", "outputFolder", "dflt"), "dflt");
    EXPECT_EQ(file.ReadInteger("skin", "missing", 10), 10);
}

TEST_F(ProfileFileTest, ValueLosesBlanksAndOnePairOfEnclosingQuotes) {
    WriteTextFile(path, "[a]\n  spaced  =  some text \t\n"
                        "quoted=\"  inner  \"\n"
                        "single='x'\n"
                        "double=\"\"twice\"\"\n"
                        "unbalanced=\"open\n"
                        "empty=\n"
                        "first=1\nfirst=2\n");
    EXPECT_EQ(file.ReadString("a", "spaced", ""), "some text");
    EXPECT_EQ(file.ReadString("a", "quoted", ""), "  inner  ");
    EXPECT_EQ(file.ReadString("a", "single", ""), "x");
    EXPECT_EQ(file.ReadString("a", "double", ""), "\"twice\"");
    EXPECT_EQ(file.ReadString("a", "unbalanced", ""), "\"open");
    EXPECT_EQ(file.ReadString("a", "empty", "dflt"), "");
    EXPECT_EQ(file.ReadString("a", "first", ""), "1");
}

TEST_F(ProfileFileTest, PathsUpToTheLinuxLimitAreStoredWholeAndLongerOnesNeverCut) {
    const std::string longest = "/" + std::string(ProfileFile::kMaxValueLength - 1, 'v');
    file.WriteString("setting", "outputFolder", longest);
    EXPECT_EQ(file.ReadString("setting", "outputFolder", ""), longest);
    EXPECT_THROW(file.WriteString("setting", "outputFolder", longest + "w"), EIniFileException);
    EXPECT_EQ(file.ReadString("setting", "outputFolder", ""), longest) << "a refused write changes nothing";
    WriteTextFile(path, "[setting]\noutputFolder=" + longest + "w\n");
    EXPECT_EQ(file.ReadString("setting", "outputFolder", "default"), "default");
}

TEST_F(ProfileFileTest, PipeOrDeviceReadsAsMissingAndIsNeverRewritten) {
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", (folder / "zero").c_str()), 0);
    for (const char* name : {"fifo", "zero"}) {
        EXPECT_EQ(ProfileFile(folder / name).ReadString("s", "k", "default"), "default") << name;
        EXPECT_THROW(ProfileFile(folder / name).WriteString("s", "k", "2"), EIniFileException) << name;
    }
}

TEST_F(ProfileFileTest, IntegersAreDecimalOrHexadecimalAfter0x) {
    WriteTextFile(path, "[n]\ndec=42\nneg=-7\nplus=+5\nhex=0x3\nHEX=0X1f\nbare=0x\nall=0xFFFFFFFF\n"
                        "garbage=12a\nspace=1 2\nbig=2147483648\nmin=-2147483648\nhexjunk=0x0x5\n"
                        "empty=\nsign=-\n");
    EXPECT_EQ(file.ReadInteger("n", "dec", 0), 42);
    EXPECT_EQ(file.ReadInteger("n", "neg", 0), -7);
    EXPECT_EQ(file.ReadInteger("n", "plus", 0), 5);
    EXPECT_EQ(file.ReadInteger("n", "hex", 0), 3);
    EXPECT_EQ(file.ReadInteger("n", "Hex", 0), 3); // the first of the two keys
    EXPECT_EQ(file.ReadInteger("n", "bare", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "all", 0), -1);
    EXPECT_EQ(file.ReadInteger("n", "garbage", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "space", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "big", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "min", 9), INT32_MIN);
    EXPECT_EQ(file.ReadInteger("n", "hexjunk", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "empty", 9), 9);
    EXPECT_EQ(file.ReadInteger("n", "sign", 9), 9);
    EXPECT_EQ(ProfileTextToInteger("0X1F", 0), 31);
}

TEST_F(ProfileFileTest, WriteChangesOneLineAndKeepsEveryOtherByte) {
    const std::string before = "; Velmora settings\n"
                               "[common]\n"
                               "language = 1   \n"
                               "\n"
                               "[Setting]\n"
                               "unknown line without equals\n"
                               "OUTPUTFOLDER=/old/\n"
                               "autoPowerOff=1\n"
                               "\n"
                               "[other]\n"
                               "x=y";
    WriteTextFile(path, before);
    file.WriteString("setting", "outputFolder", "/new folder/");
    std::string expected = before;
    expected.replace(expected.find("/old/"), 5, "/new folder/");
    EXPECT_EQ(ReadTextFile(path), expected);
}

TEST_F(ProfileFileTest, NewKeyGoesAtTheEndOfItsSectionAndNewSectionAtTheEnd) {
    WriteTextFile(path, "[setting]\nautoPowerOff=1\n\n[skin]\nskin=3");
    file.WriteString("setting", "outputFolder", "/v/");
    file.WriteInteger("common", "language", 3);
    file.WriteInteger("skin", "other", 5);
    EXPECT_EQ(ReadTextFile(path), "[setting]\nautoPowerOff=1\noutputFolder=/v/\n\n[skin]\nskin=3\nother=5\n"
                                  "[common]\nlanguage=3\n");
    EXPECT_EQ(file.ReadInteger("common", "language", 0), 3);
}

TEST_F(ProfileFileTest, WritingTheValueAlreadyStoredTouchesNothing) {
    // A folder in place of the lock file stops every writer, root too.
    ASSERT_EQ(mkdir((path + ".lock").c_str(), 0755), 0);
    for (const std::string stored :
         {"[setting]\noutputFolder=/v/\n", "[Setting]\r\nOUTPUTFOLDER = \"/v/\" \r\n"}) {
        WriteTextFile(path, stored);
        const std::string before = test::FileIdentity(path);
        EXPECT_NO_THROW(file.WriteString("setting", "outputFolder", "/v/")) << stored;
        EXPECT_EQ(test::FileIdentity(path), before);
    }
    EXPECT_THROW(file.WriteString("setting", "outputFolder", "/w/"), EIniFileException);
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFile) {
    file.WriteString("setting", "outputFolder", "/home/user/Videos/");
    EXPECT_EQ(ReadTextFile(path), "[setting]\noutputFolder=/home/user/Videos/\n");
}

TEST_F(ProfileFileTest, CrlfFilesAndByteOrderMarkAreReadAndKept) {
    const std::string bom = "\xEF\xBB\xBF";
    WriteTextFile(path, bom + "[App]\r\nTitle=Velmora\r\n[frmMain]\r\ncaption=Main\r\n");
    EXPECT_EQ(file.ReadString("app", "title", ""), "Velmora");
    EXPECT_EQ(file.ReadString("frmMain", "caption", ""), "Main");
    file.WriteString("frmMain", "caption", "New");
    file.WriteString("frmMain", "added", "1");
    file.WriteString("extra", "k", "v");
    EXPECT_EQ(ReadTextFile(path), bom + "[App]\r\nTitle=Velmora\r\n[frmMain]\r\ncaption=New\r\nadded=1\r\n"
                                        "[extra]\r\nk=v\r\n");
}

TEST_F(ProfileFileTest, ValuesThatReadingWouldChangeAreQuotedAndReadBackAsWritten) {
    for (std::string value : {" lead", "trail ", "\"quoted\"", "'x'", "plain", ""}) {
        file.WriteString("s", "k", value);
        EXPECT_EQ(file.ReadString("s", "k", "dflt"), value);
    }
}

TEST_F(ProfileFileTest, ValueWithALineBreakIsRefusedAndNothingChanges) {
    WriteTextFile(path, "[setting]\noutputFolder=/v/\n");
    EXPECT_THROW(file.WriteString("setting", "outputFolder", "/a\n[common]\nlanguage=3"), EIniFileException);
    EXPECT_EQ(ReadTextFile(path), "[setting]\noutputFolder=/v/\n");
}

TEST_F(ProfileFileTest, SymbolicLinkStaysALink) {
    WriteTextFile(folder / "real.ini", "[s]\nk=1\n");
    ASSERT_EQ(symlink((folder / "real.ini").c_str(), path.c_str()), 0);
    file.WriteString("s", "k", "2");
    struct stat info = {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadTextFile(folder / "real.ini"), "[s]\nk=2\n");
}

TEST_F(ProfileFileTest, DanglingLinkStaysALinkAndItsTargetIsWritten) {
    ASSERT_EQ(symlink("real.ini", path.c_str()), 0);
    file.WriteString("s", "k", "2");
    struct stat info = {};
    EXPECT_TRUE(lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadTextFile(folder / "real.ini"), "[s]\nk=2\n");
}

TEST_F(ProfileFileTest, ReadOnlyFileGivesTheWriteErrorAndStaysUnchanged) {
    WriteTextFile(path, "[setting]\noutputFolder=/old/\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(WriteOutcome(file), "Unable to write to " + path);
    EXPECT_EQ(ReadTextFile(path), "[setting]\noutputFolder=/old/\n");
    EXPECT_EQ(SortedEntries(folder), (std::vector<std::string>{"config.ini", "config.ini.lock"}));
}

TEST_F(ProfileFileTest, ReadOnlyFolderGivesTheWriteError) {
    WriteTextFile(path, "[setting]\noutputFolder=/old/\n");
    ASSERT_EQ(chmod(folder.Path().c_str(), 0555), 0);
    EXPECT_EQ(WriteOutcome(file), "Unable to write to " + path);
    EXPECT_EQ(ReadTextFile(path), "[setting]\noutputFolder=/old/\n");
    EXPECT_EQ(SortedEntries(folder), std::vector<std::string>{"config.ini"});
}

TEST_F(ProfileFileTest, MissingFolderOrAFolderUnderAFileGivesTheWriteError) {
    ProfileFile missing(folder / "gone/config.ini");
    EXPECT_THROW(missing.WriteString("s", "k", "v"), EIniFileException);
    test::WriteTextFile(folder / "plain", "");
    ProfileFile underFile(folder / "plain/config.ini");
    try {
        underFile.WriteString("s", "k", "v");
        FAIL() << "the write succeeded";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + folder / "plain/config.ini");
    }
}

TEST_F(ProfileFileTest, FailedWriteLeavesNoPartialFile) {
    const std::string before = "[setting]\noutputFolder=/old/\n";
    WriteTextFile(path, before);
    // A file-size limit makes the write itself fail part-way, as a full disk would.
    std::string outcome = test::RunWithoutPrivileges([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            file.WriteString("setting", "outputFolder", std::string(4000, 'x'));
            return std::string("written");
        } catch (const EIniFileException& error) {
            return std::string(error.what());
        }
    });
    EXPECT_EQ(outcome, "Unable to write to " + path);
    EXPECT_EQ(ReadTextFile(path), before);
    EXPECT_EQ(SortedEntries(folder), (std::vector<std::string>{"config.ini", "config.ini.lock"}));
}

} // namespace
} // namespace velmora
