#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

struct ReadResult {
    std::size_t count = 0; // bytes read; 0 with no error is the end of the data
    int error = 0;         // errno of a failed read, else 0
};

// One blocking read of up to `size` bytes; interrupted reads are retried.
ReadResult ReadSome(int descriptor, char* buffer, std::size_t size) noexcept;

// Writes all of `data`, retrying interrupted and partial writes. A reader that has gone away is the
// EPIPE error, never a SIGPIPE that ends the program. Raises the operating-system error on failure.
void WriteAll(int descriptor, std::string_view data);

struct InputState {
    bool input = false;     // a read of `descriptor` will not block (data, end of data or an error)
    bool cancelled = false; // `cancelDescriptor` is readable
};

// Waits until `descriptor` or `cancelDescriptor` is readable, or, with `block` false, only looks.
InputState WaitForInput(int descriptor, int cancelDescriptor, bool block) noexcept;

} // namespace velmora
