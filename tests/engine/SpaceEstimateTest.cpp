#include "engine/SpaceEstimate.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SpaceEstimate, SizeFollowsLengthAndBitrates) {
    const struct {
        double seconds;
        int video; // position: 150k 300k 450k 600k 800k 1000k 1500k 2000k
        int audio; // position: 32 48 64 80 96 128 160 192
        std::uint64_t bytes;
    } cases[] = {
        {0, 5, 5, 0},
        {-3, 5, 5, 0},
        {60, 5, 5, 8'693'200},        // 60 s x 1128 kbit/s / 8 = 8.46 MB, +2%, +64 kB
        {60, 1, 5, 3'338'200},        // 428 kbit/s
        {1.5, 0, 0, 98'808},          // 182 kbit/s, the fixed part dominates
        {7200, 7, 7, 2'012'320'000},  // two hours at the most
        {16000, 7, 7, 4'471'744'000}, // past the largest FAT file
    };
    for (const auto& c : cases)
        EXPECT_EQ(EstimatedVideoBytes(c.seconds, {.videoBitrate = c.video, .audioBitrate = c.audio}), c.bytes)
            << c.seconds << " s";
}

TEST(SpaceEstimate, TheQuestionComesWhenTheVideosMayNotFit) {
    const EncodingSettings standard; // 1000k and 128k: 8,693,200 + 16,000 bytes a minute
    const std::vector<PlannedFile> twoMinutes{
        {"a.avi", 60.0}, {"b.avi", 60.0}, {"unknown.avi", std::nullopt}};
    const std::uint64_t needed = 2 * (8'693'200 + kThumbnailBytes);
    const std::vector<PlannedFile> longFilm{{"film.mkv", 40000.0}, {"short.avi", 60.0}};
    const struct {
        std::vector<PlannedFile> files;
        std::optional<std::uint64_t> available;
        bool fat;
        bool asked;
        bool tooLittleRoom;
        std::vector<std::string> tooLarge;
    } cases[] = {
        {twoMinutes, needed, true, false, false, {}},
        {twoMinutes, needed - 1, false, true, true, {}},
        {twoMinutes, 3'000'000, true, true, true, {}}, // the 3 MB stick
        {twoMinutes, std::nullopt, false, false, false, {}},
        {{{"unknown.avi", std::nullopt}}, 0, false, false, false, {}},
        {longFilm, 64'000'000'000, false, false, false, {}},
        {longFilm, 64'000'000'000, true, true, false, {"film.mkv"}},
        {longFilm, 1'000'000'000, true, true, true, {"film.mkv"}},
    };
    for (const auto& c : cases) {
        const std::optional<SpaceQuestion> question = AskAboutSpace(c.files, standard, c.available, c.fat);
        ASSERT_EQ(question.has_value(), c.asked) << c.files.size() << " files, fat " << c.fat;
        if (!question)
            continue;
        EXPECT_EQ(question->tooLittleRoom, c.tooLittleRoom);
        EXPECT_EQ(question->tooLargeForFat, c.tooLarge);
        EXPECT_EQ(question->available, *c.available);
    }
    EXPECT_EQ(AskAboutSpace(twoMinutes, standard, 1, false)->needed, needed);
}

} // namespace
} // namespace velmora
