#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace velmora {

class TfrmMain;

// SIGTERM, SIGINT and SIGHUP end the program as File > Exit does, at any moment of its life: a run
// ends, its encoder gets "quit", and every event loop quits. The signal handler only marks the request
// (platform/StopSignals); this notifier acts on it from whichever event loop runs, a message box's at
// start-up included, and the start-up asks Requested() between its steps, where no loop runs.
class StopSignalExit : public QObject {
public:
    // Made before any window, so that no start-up message can hold a request back.
    StopSignalExit();

    // The window a request closes, once it is shown.
    void Attach(TfrmMain& frmMain) { frmMain_ = &frmMain; }
    // A stop signal came: the start-up goes no further and no event loop is entered.
    bool Requested() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Exit();

    int signalled_;
    TfrmMain* frmMain_ = nullptr;
    bool requested_ = false;
    QSocketNotifier notifier_;
};

} // namespace velmora
