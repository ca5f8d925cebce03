#pragma once

#include "encoder/DescriptorIO.h"

#include <memory>
#include <string>
#include <sys/types.h>

namespace velmora::encoder {

// The output is the regular file at its name (the caller's placeholder) or a new file where nothing is.
// A symbolic link there, dangling or not, is never followed, and a link, folder, named pipe or device is
// refused and left untouched: EncoderError "Cannot write output '<path>': ...".

// Checks before any work is done that the output can be written; leaves it as it was.
void ExpectWritableOutput(const std::string& path);

// Which file an output is.
struct OutputIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

// The output emptied, for FFmpeg to write its new content through; `written` learns which file it is.
std::unique_ptr<DescriptorIO> ReplaceOutput(const std::string& path, OutputIdentity* written = nullptr);

// Before the output is called finished: the file written is still the one at its name. Deleted, or
// another file put in its place, it would be a success nobody can find: EncoderError "The output
// '<path>' was deleted or replaced while it was being written".
void ExpectOutputAtName(const std::string& path, const OutputIdentity& written);

} // namespace velmora::encoder
