#pragma once

#include <QSocketNotifier>

namespace velmora {

class TfrmMain;

// SIGTERM, SIGINT and SIGHUP end the program as File > Exit does: a run ends, its encoder gets
// "quit", and the event loop quits. The signal handler only marks the request (platform/StopSignals);
// this notifier acts on it from the event loop, also from a run's nested one.
class StopSignalExit {
public:
    explicit StopSignalExit(TfrmMain& frmMain);

private:
    void Exit();

    TfrmMain& frmMain_;
    QSocketNotifier notifier_;
};

} // namespace velmora
