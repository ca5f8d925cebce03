#include "tests/support/ChildProcesses.h"

#include <sys/wait.h>

#include <cerrno>

namespace velmora::test {

bool HasChildProcesses() {
    siginfo_t info{};
    // WNOWAIT: a child that has ended stays for the code under test to reap.
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 || errno != ECHILD;
}

} // namespace velmora::test
