#include "console/ReceiveBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

std::vector<std::string> Lines(ReceiveBuffer& buffer, const std::string& separator) {
    std::vector<std::string> lines;
    while (auto line = buffer.TakeLine(separator))
        lines.push_back(*line);
    return lines;
}

TEST(ReceiveBuffer, CutsLinesAtEachSeparatorAndKeepsTheUnfinishedOne) {
    ReceiveBuffer buffer;
    buffer.Append(std::string("a\r\n\r\nb\rc\nd", 10));
    EXPECT_EQ(Lines(buffer, "\r\n"), (std::vector<std::string>{"a", ""}));
    buffer.Append("\r\n");
    EXPECT_EQ(Lines(buffer, "\r\n"), std::vector<std::string>{"b\rc\nd"});
    EXPECT_TRUE(buffer.Empty());

    buffer.Append("x\r\n\ny");
    EXPECT_EQ(Lines(buffer, "\n"), (std::vector<std::string>{"x\r", ""}));
    EXPECT_EQ(buffer.TakeAll(), "y");
    EXPECT_TRUE(buffer.Empty());
}

TEST(ReceiveBuffer, FindsSeparatorsSplitOverChunksAndFollowsAChangedOne) {
    ReceiveBuffer buffer;
    std::vector<std::string> lines;
    for (const char* chunk : {"ab", "c", "\r", "\nde", "f\r", "\r", "\n"}) {
        buffer.Append(chunk);
        for (const std::string& line : Lines(buffer, "\r\n"))
            lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"abc", "def\r"}));

    buffer.Append(std::string("a\0b;c\n", 6));
    EXPECT_EQ(Lines(buffer, "\n;"), std::vector<std::string>{});
    EXPECT_EQ(Lines(buffer, std::string(1, '\0')), std::vector<std::string>{"a"});
    EXPECT_EQ(Lines(buffer, ";"), std::vector<std::string>{"b"});
    EXPECT_EQ(Lines(buffer, ""), std::vector<std::string>{});
    EXPECT_EQ(buffer.TakeAll(), "c\n");
}

TEST(ReceiveBuffer, DeliversLongLinesGrownFromManyChunks) {
    ReceiveBuffer buffer;
    std::size_t delivered = 0;
    for (int chunk = 0; chunk < 20000; ++chunk) {
        buffer.Append(std::string(1000, 'x') + (chunk % 10 == 9 ? "\n" : ""));
        delivered += Lines(buffer, "\n").size();
    }
    EXPECT_EQ(delivered, 2000u);
    EXPECT_TRUE(buffer.Empty());
}

} // namespace
} // namespace velmora
