#pragma once

namespace velmora {

// SIGTERM, SIGINT and SIGHUP as a request to stop cleanly. The handler only writes one byte to a
// self-pipe, so the program notices the request where it already waits (poll, an event-loop
// notifier) and does the work there. Each handler is reset by its first signal: a second signal of
// the same kind ends the program at once, the way out when a clean stop hangs. A signal ignored at
// start (nohup) stays ignored.
// Installs once per process and returns the pipe's read end, which stays readable once a signal came.
// Raises the operating-system error when the pipe or a handler cannot be made.
int InstallStopSignals();

// Makes `signal` one more stop request, one that may come any number of times without ending the
// program at once: the parent-death signal, which a parent with several threads sends again for
// each of its threads the child is handed to while they end. Installs the stop signals first.
void AddRepeatableStopSignal(int signal);

} // namespace velmora
