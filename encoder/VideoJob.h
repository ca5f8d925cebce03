#pragma once

#include "encoder/CommandLine.h"
#include "encoder/ConsoleStream.h"

namespace velmora::encoder {

// Converts the source into a PSP video, reporting progress on `console`. A readable `stopSignals`
// (-1: none) ends it early and cleanly, as the line "quit" does. Throws EncoderError.
void RunVideoJob(const VideoJobSettings& settings, ConsoleStream& console, int stopSignals = -1);

} // namespace velmora::encoder
