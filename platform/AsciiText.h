#pragma once

#include <string>

namespace velmora {

// Small text pieces that work on bytes, never decoded: only the ASCII range is looked at.

// The text without leading and trailing bytes of code 32 or lower.
std::string TrimControlBytes(const std::string& text);

// 'A' to 'Z' lowered; every other byte as it is.
char AsciiLower(char c);

} // namespace velmora
