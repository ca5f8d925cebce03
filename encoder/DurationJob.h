#pragma once

#include "encoder/CommandLine.h"

namespace velmora::encoder {

// Prints the source's length in seconds on standard output, or 0 when nothing tells it. Reads the
// container's header and the start of its streams, never the whole source. Throws EncoderError.
void RunDurationJob(const DurationJobSettings& settings);

} // namespace velmora::encoder
