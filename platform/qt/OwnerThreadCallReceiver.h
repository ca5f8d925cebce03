#pragma once

#include "platform/OwnerThreadCallQueue.h"

#include <QObject>

namespace velmora {

// The object on the owner thread that runs the calls of a QtOwnerThreadChannel. Its slot takes no
// arguments: the calls travel through the queue's own lock, which ThreadSanitizer can see, rather
// than through Qt's event queue, which it cannot.
class OwnerThreadCallReceiver : public QObject {
    Q_OBJECT

public:
    OwnerThreadCallQueue& Calls() { return calls_; }

public slots:
    void RunPendingCalls() { calls_.RunPending(); }

private:
    OwnerThreadCallQueue calls_;
};

} // namespace velmora
