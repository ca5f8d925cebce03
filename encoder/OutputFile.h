#pragma once

#include "encoder/DescriptorIO.h"

#include <memory>
#include <string>

namespace velmora::encoder {

// The output is the regular file at its name (the caller's placeholder) or a new file where nothing is.
// A symbolic link there, dangling or not, is never followed, and a link, folder, named pipe or device is
// refused and left untouched: EncoderError "Cannot write output '<path>': ...".

// Checks before any work is done that the output can be written; leaves it as it was.
void ExpectWritableOutput(const std::string& path);

// The output emptied, for FFmpeg to write its new content through.
std::unique_ptr<DescriptorIO> ReplaceOutput(const std::string& path);

// Before the output is called finished: the file written is still the one at its name. Deleted, or
// another file put in its place, it would be a success nobody can find: EncoderError "The output
// '<path>' was deleted or replaced while it was being written".
void ExpectOutputAtName(const DescriptorIO& output, const std::string& path);

} // namespace velmora::encoder
