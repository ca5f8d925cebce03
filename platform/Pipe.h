#pragma once

#include "platform/FileDescriptor.h"

namespace velmora {

struct Pipe {
    FileDescriptor readEnd;
    FileDescriptor writeEnd;
};

// An anonymous pipe with the system's default buffer size. Both ends are close-on-exec, so no child
// inherits them unless it is given one on purpose, and both are numbered 3 or above, so they never
// stand in the way of a child's standard streams. Raises the operating-system error on failure.
Pipe CreatePipe();

} // namespace velmora
