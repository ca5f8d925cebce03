// libq7z refuses a source or an output name that is not a regular file, at once, and leaves it as it was.
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {
namespace {

// Every entry under the folder with where it points or a digest of what it holds; links are not followed.
std::map<std::string, std::string> Entries(const TemporaryFolder& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
        entries[entry.path()] = entry.is_symlink() ? "-> " + std::filesystem::read_symlink(entry).string()
                                : entry.is_regular_file()
                                    ? std::to_string(std::hash<std::string>{}(ReadTextFile(entry.path())))
                                    : std::to_string(static_cast<int>(entry.status().type()));
    return entries;
}

// What is put at a name: the test's name, how a refusal names its kind, and where a link points.
using Thing = std::tuple<std::string, std::string, std::string>;
const Thing kLinkElsewhere{"LinkToAFileElsewhere", "a symbolic link", "elsewhere/kept"};
const Thing kDanglingLink{"DanglingLink", "a symbolic link", "not there"};
const Thing kFolder{"Folder", "a folder", ""};
const Thing kNamedPipe{"NamedPipe", "a named pipe", ""};
const Thing kLinkToDevZero{"LinkToDevZero", "a device", "/dev/zero"};

class FileKindCase : public ::testing::TestWithParam<Thing> {
protected:
    void SetUp() override {
        MakeSource(folder_ / "real.avi",
                   {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-c:v", "mpeg4"});
        MakeFolder(folder_ / "elsewhere");
        WriteTextFile(folder_ / "elsewhere/kept", "kept");
    }
    void Put(const std::string& at) {
        const auto& [name, kind, target] = GetParam();
        ASSERT_EQ(kind == "a folder"       ? mkdir(at.c_str(), 0700)
                  : kind == "a named pipe" ? mkfifo(at.c_str(), 0600)
                                           : symlink(target.c_str(), at.c_str()),
                  0);
    }
    // Each line ends with exit code 1 (not killed at the time limit), `refusal` last, and nothing changed.
    void ExpectRefused(const std::string& source, const std::string& refusal) {
        std::map<std::string, std::string> before = Entries(folder_);
        for (const auto& words : {VideoWords(source, output_), ThumbnailWords(source, output_)}) {
            EncoderResult result = RunEncoder(words, InputClosed(20));
            EXPECT_EQ(result.exitCode, 1) << result.errorText;
            EXPECT_EQ(LastErrorLine(result),
                      "libq7z: " + refusal + "it is not a regular file (" + std::get<1>(GetParam()) + ")");
            EXPECT_EQ(Entries(folder_), before) << words[3];
        }
    }
    TemporaryFolder folder_;
    std::string source_ = folder_ / "clip.avi";
    std::string output_ = folder_ / "M4V50000.MP4";
};

const auto kName = [](const ::testing::TestParamInfo<Thing>& info) { return std::get<0>(info.param); };

class OutputNameThatIsNotAFile : public FileKindCase {};
TEST_P(OutputNameThatIsNotAFile, IsRefusedAndLeftAsItWas) {
    Put(output_);
    ExpectRefused(folder_ / "real.avi", "Cannot write output '" + output_ + "': ");
}
INSTANTIATE_TEST_SUITE_P(Kinds, OutputNameThatIsNotAFile,
                         ::testing::Values(kLinkElsewhere, kDanglingLink, kFolder, kNamedPipe), kName);

class SourceThatIsNotARegularFile : public FileKindCase {};
TEST_P(SourceThatIsNotARegularFile, IsRefusedAtOnce) {
    Put(source_);
    WritePlaceholder(output_);
    ExpectRefused(source_, "Refused source '" + source_ + "': ");
}
INSTANTIATE_TEST_SUITE_P(Kinds, SourceThatIsNotARegularFile,
                         ::testing::Values(kNamedPipe, kFolder, kLinkToDevZero), kName);

// Not parameterised: the fixture only lends its folder.
class SourceThatIsALink : public FileKindCase {};
TEST_F(SourceThatIsALink, ToARegularFileConverts) {
    ASSERT_EQ(symlink("real.avi", source_.c_str()), 0);
    EXPECT_EQ(RunEncoder(VideoWords(source_, output_), InputClosed()).exitCode, 0);
    EXPECT_EQ(MediaProbe(output_).Stream(0, "codec_name"), "h264");
    EXPECT_EQ(RunEncoder(ThumbnailWords(source_, output_), InputClosed()).exitCode, 0);
    EXPECT_EQ(MediaProbe(output_).Stream(0, "codec_name"), "mjpeg");
}

} // namespace
} // namespace velmora::test
