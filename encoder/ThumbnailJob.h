#pragma once

#include "encoder/CommandLine.h"

namespace velmora::encoder {

// Writes the source's first picture, letterboxed, as one baseline JPEG. Reads the source from the
// start without seeking, so a source that cannot seek works too. Throws EncoderError.
void RunThumbnailJob(const ThumbnailJobSettings& settings);

} // namespace velmora::encoder
