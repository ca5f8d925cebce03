#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

namespace velmora {

constexpr std::chrono::milliseconds noLimit{-1};

struct ReadResult {
    std::size_t count = 0; // bytes read; 0 with no error is the end of the data
    int error = 0;         // errno of a failed read, else 0
};

// One blocking read of up to `size` bytes; interrupted reads are retried.
ReadResult ReadSome(int descriptor, char* buffer, std::size_t size) noexcept;

// Writes all of `data`, retrying interrupted and partial writes. A reader that has gone away is the
// EPIPE error, never a SIGPIPE that ends the program. Raises the operating-system error on failure.
// On a non-blocking descriptor the write waits at most `limit` (negative: without limit) for room and
// then fails with EAGAIN; a pipe takes a text of up to PIPE_BUF bytes whole or not at all.
void WriteAll(int descriptor, std::string_view data, std::chrono::milliseconds limit = noLimit);

// Makes reads and writes of the descriptor fail with EAGAIN instead of blocking; raises on failure.
void SetNonBlocking(int descriptor);

struct InputState {
    bool input = false;     // a read of `descriptor` will not block (data, end of data or an error)
    bool cancelled = false; // `cancelDescriptor` is readable
};

// Waits until `descriptor` or `cancelDescriptor` is readable, or, with `block` false, only looks.
InputState WaitForInput(int descriptor, int cancelDescriptor, bool block) noexcept;

} // namespace velmora
