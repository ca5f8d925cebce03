#pragma once

#include "engine/KeptQueue.h"

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// True for a regular file (not a link) whose top-level MP4 boxes follow one another exactly to its end
// and include the index ('moov'). A video whose writing was cut short has none: its encoder writes the
// index last. Only the box headers are read.
bool IsCompleteMp4(const std::string& path);

// What became of the pair a run was writing when it was cut short.
struct SettledPair {
    std::string source; // the entry being converted
    // The video was complete and stays, as "M4V<n>"; empty when the pair was removed.
    std::string keptName;
};

// At start, for the pair the queue says was being written: both files are removed when the video is not
// a complete MP4; a complete one is kept. Only the two names on record are touched, and only when they
// are an output pair's. The entry is marked stopped (with the kept name), so that a run takes it again,
// and the record goes. A video changed within `settle` may still be finished by an encoder that outlived
// the program: it is waited for, up to that long. Nothing when no pair was on record.
std::optional<SettledPair> SettleInterruptedPair(KeptQueue& queue,
                                                 std::chrono::milliseconds settle = std::chrono::seconds(3));

} // namespace velmora
