#include "platform/AsciiText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

TEST(TrimControlBytes, EveryByteUpToBlankGoesFromBothEnds) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {" 30.5\r", "30.5"},
        {std::string("\x01\t\n 1 2\x1f\x20", 9), "1 2"},
        {"\r\n", ""},
        {"\x7f"
         "a\x7f",
         "\x7f"
         "a\x7f"},                  // DEL is above blank
        {"\xa0x\xa0", "\xa0x\xa0"}, // and so are bytes above 127
    };
    for (const auto& [text, trimmed] : cases)
        EXPECT_EQ(TrimControlBytes(text), trimmed);
}

TEST(AsciiLower, OnlyAsciiCapitalsAreLowered) {
    EXPECT_EQ(AsciiLower('A'), 'a');
    EXPECT_EQ(AsciiLower('Z'), 'z');
    for (char c : {'a', 'z', '0', '@', '[', '\x7f', '\xc4', '\xe6'})
        EXPECT_EQ(AsciiLower(c), c);
}

} // namespace
} // namespace velmora
