#pragma once

#include <cstdio>
#include <string>

// Shared by the test child, which writes these lines, and the tests that check them.
namespace velmora::test {

// Line `number` (from 1) of the test child's flood and endless actions, without its LF.
inline std::string FloodLine(unsigned long number) {
    char text[32];
    std::snprintf(text, sizeof text, "line %06lu", number);
    return text;
}

} // namespace velmora::test
