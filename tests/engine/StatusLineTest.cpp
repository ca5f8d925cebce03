#include "engine/StatusLine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace velmora::test {
namespace {

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

TEST(StatusLine, APathIsShortenedInItsMiddleKeepingTheFileNameAsLongAsItCan) {
    const std::string holiday = "/very/long/path/holiday part 1.mp4";
    // The path, the room in characters, what is shown.
    const std::vector<std::tuple<std::string, std::size_t, std::string>> cases{
        {holiday, 34, holiday},
        {holiday, 33, "/very/\u2026/path/holiday part 1.mp4"},
        {holiday, 30, "/\u2026/path/holiday part 1.mp4"},
        {holiday, 21, "/\u2026/holiday part 1.mp4"},
        {holiday, 20, "\u2026/holiday part 1.mp4"},
        {holiday, 18, "holiday part 1.mp4"},
        {holiday, 12, "holid\u2026 1.mp4"},
        {holiday, 0, "\u2026"},
        {"a/b/c.avi", 7, "\u2026/c.avi"},
        {"/\u89c6\u9891/\u5047\u671f/\u7b2c\u4e00\u90e8\u5206.mp4", 7, "\u7b2c\u4e00\u2026.mp4"},
        {"/clip.avi", 6, "c\u2026.avi"}};
    for (const auto& [path, room, shown] : cases)
        EXPECT_EQ(PathShortenedToFit(path, [&](const std::string& text) { return Characters(text) <= room; }),
                  shown)
            << path << " in " << room;
}

TEST(StatusLine, ClockTexts) {
    const std::vector<std::pair<std::int64_t, std::string>> shortClocks{
        {0, "0:00"}, {42, "0:42"}, {724, "12:04"}, {3723, "1:02:03"}, {360000, "100:00:00"}, {-5, "0:00"}};
    for (const auto& [seconds, text] : shortClocks)
        EXPECT_EQ(ShortClockText(seconds), text) << seconds;
    EXPECT_EQ(LengthClockText(-1), "--:--:--");
    EXPECT_EQ(MakeStatusLine("Converting %s", 1, 5, 30, 60, "/v/a.avi").Whole(),
              "Converting 2/5 [00:00:30-00:01:00] /v/a.avi");
}

} // namespace
} // namespace velmora::test
