#pragma once

#include <cstddef>
#include <string>

// How the test child and the harness pass arbitrary bytes (CR, LF, NUL) through command-line words and
// recorded events: two lower-case hexadecimal digits a byte.
namespace velmora::test {

inline std::string ToHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

inline std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

} // namespace velmora::test
