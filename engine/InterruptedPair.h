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

// How long a complete MP4 plays, in seconds, from its movie header; nothing for anything else.
std::optional<double> Mp4Seconds(const std::string& path);

// What became of the pair a run was writing when it was cut short.
struct SettledPair {
    std::string source; // the entry being converted
    // The video was complete and stays, as "M4V<n>"; empty when the pair was removed.
    std::string keptName;
    // It plays as long as its source: the encoder had finished it.
    bool converted = false;
};

// At start, for the pair the queue says was being written. A complete video as long as its source
// (within a second) was finished: the entry counts as converted. Another complete one is the part made
// so far: kept, with how far it reaches, and the entry marked stopped so that a run takes it again. An
// incomplete video goes with its thumbnail. Only the two files the record names are touched, and only
// while they are the files the run created there under an output pair's names. The record goes. A
// video changed within `settle` may still be finished by an encoder that outlived the program: it is
// waited for, up to that long. Nothing when no pair was on record.
std::optional<SettledPair> SettleInterruptedPair(KeptQueue& queue,
                                                 std::chrono::milliseconds settle = std::chrono::seconds(3));

// Stopped entries whose kept part the queue gives no length for get it from the part itself.
void FillKeptLengths(KeptQueue& queue);

} // namespace velmora
