#include "platform/FileSystem.h"
#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace velmora::test {
namespace {

TEST_F(ConversionRunTest, ARunOntoAStickThatIsGoneMakesNoFolderOnTheOwnDisk) {
    window.entries = {Source("a.avi")};
    const std::string stick = outputFolder / "PSPSTICK";
    window.stick = {stick, "PSPSTICK"};
    window.outputFolder = stick + "/VIDEO/";
    run->mountTableText = [] { return std::string("root / ext4 rw 0 0\n"); };

    run->ActionConvertNowExecute();
    EXPECT_EQ(window.events,
              (std::vector<std::string>{"run:on", "clear-outcomes", "stick-missing:PSPSTICK", "run:off"}));
    EXPECT_FALSE(DirectoryExists(stick));

    // Mounted again: the run goes ahead.
    ASSERT_TRUE(CreateFolderWithParents(stick));
    run->mountTableText = [stick] { return "root / ext4 rw 0 0\nsdb1 " + stick + " vfat rw 0 0\n"; };
    run->ActionConvertNowExecute();
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"thumb:a.avi", "video:a.avi"}));
    EXPECT_TRUE(FileExists(stick + "/VIDEO/M4V50000.MP4"));
}

TEST_F(ConversionRunTest, VideosThatMayNotFitAreConvertedOnlyWhenThePersonSaysSo) {
    window.entries = {Source("a.avi"), Source("b.avi")};
    window.entries[0].duration = 60.0; // the other one's length is unknown and counts for nothing
    const std::string video = outputFolder / "VIDEO";
    window.outputFolder = video;
    const std::string needed = std::to_string(8'693'200 + kThumbnailBytes);
    for (const auto& [free, answer, asked, calls] : {std::tuple{3'000'000, false, true, 0u},
                                                     {100'000'000, false, false, 4u},
                                                     {3'000'000, true, true, 4u}}) {
        window.events.clear();
        window.answerSpace = answer;
        run->freeBytesAt = [free](const std::string&) { return std::optional<std::uint64_t>(free); };
        const std::size_t before = Calls().size();
        // Each run converts both again.
        for (const FakeEntry& entry : window.entries)
            run->Outcomes().Forget(entry.id);
        run->ActionConvertNowExecute();
        const bool wasAsked = std::find(window.events.begin(), window.events.end(),
                                        "space:" + needed + ":3000000") != window.events.end();
        EXPECT_EQ(wasAsked, asked) << free;
        EXPECT_EQ(Calls().size() - before, calls) << free;
        // A declined run makes no folder.
        EXPECT_EQ(DirectoryExists(video), calls != 0u) << free;
    }
}

} // namespace
} // namespace velmora::test
