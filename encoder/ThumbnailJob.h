#pragma once

#include "encoder/CommandLine.h"

namespace velmora::encoder {

// Writes the source's first picture, cropped as asked, letterboxed, as one baseline JPEG. Reads the
// picture from the start without seeking, so a source that cannot seek works too; the black bars are
// looked for apart. Throws EncoderError.
void RunThumbnailJob(const ThumbnailJobSettings& settings);

} // namespace velmora::encoder
