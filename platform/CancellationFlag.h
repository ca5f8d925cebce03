#pragma once

#include "platform/FileDescriptor.h"

namespace velmora {

// A flag that threads blocked in poll() can watch: once set, its descriptor stays readable.
class CancellationFlag {
public:
    // Raises the operating-system error when the descriptor cannot be created.
    CancellationFlag();

    void Set() noexcept;
    int Descriptor() const { return event_.Get(); }

private:
    FileDescriptor event_;
};

} // namespace velmora
