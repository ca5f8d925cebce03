#pragma once

namespace velmora::test {

// Whether this process has a child process, running or not yet reaped.
bool HasChildProcesses();

} // namespace velmora::test
