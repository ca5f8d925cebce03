#include "platform/FileSystem.h"
#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST_F(ConversionRunTest, ARunOntoAStickThatIsGoneMakesNoFolderOnTheOwnDisk) {
    window.entries = {Source("a.avi")};
    const std::string stick = outputFolder / "PSPSTICK";
    window.stick = {stick, "PSPSTICK"};
    window.outputFolder = stick + "/VIDEO/";
    run->mountTableText = [] { return std::string("root / ext4 rw 0 0\n"); };

    run->ActionConvertNowExecute();
    EXPECT_EQ(window.events, (std::vector<std::string>{"clear-outcomes", "stick-missing:PSPSTICK"}));
    EXPECT_FALSE(DirectoryExists(stick));

    // Mounted again: the run goes ahead.
    ASSERT_TRUE(CreateFolderWithParents(stick));
    run->mountTableText = [stick] { return "root / ext4 rw 0 0\nsdb1 " + stick + " vfat rw 0 0\n"; };
    run->ActionConvertNowExecute();
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"thumb:a.avi", "video:a.avi"}));
    EXPECT_TRUE(FileExists(stick + "/VIDEO/M4V50000.MP4"));
}

} // namespace
} // namespace velmora::test
