#pragma once

#include "encoder/CommandLine.h"
#include "encoder/ConsoleStream.h"

namespace velmora::encoder {

// Converts the source into a PSP video, reporting progress on `console`. Throws EncoderError.
void RunVideoJob(const VideoJobSettings& settings, ConsoleStream& console);

} // namespace velmora::encoder
