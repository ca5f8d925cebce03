#pragma once

#include "encoder/CommandLine.h"

namespace velmora::encoder {

// Writes the output frame the video job would show at the asked time as one RGB PNG: the picture shown
// then (the last one past the end), through the video's filters, with the subtitles on at that time.
// Prints the source's size and the crop found on standard output. Throws EncoderError.
void RunPreviewJob(const PreviewJobSettings& settings);

} // namespace velmora::encoder
