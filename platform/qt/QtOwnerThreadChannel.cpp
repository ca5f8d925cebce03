#include "platform/qt/QtOwnerThreadChannel.h"

#include "platform/ErrorReport.h"
#include "platform/qt/OwnerThreadCallReceiver.h"

#include <QMetaObject>
#include <QThread>

namespace velmora {

QtOwnerThreadChannel::QtOwnerThreadChannel()
    : owner_(QThread::currentThread()), receiver_(new OwnerThreadCallReceiver) {}

QtOwnerThreadChannel::~QtOwnerThreadChannel() {
    // The last worker that held the channel may release it; the receiver must die on its own thread.
    if (QThread::currentThread() == owner_)
        delete receiver_;
    else
        receiver_->deleteLater();
}

void QtOwnerThreadChannel::Deliver(const std::function<void()>& call) {
    if (QThread::currentThread() == owner_) {
        RunGuarded(call);
        return;
    }
    OwnerThreadCallQueue::PendingCall pending(call);
    receiver_->Calls().Add(pending);
    // Returns once the owner has handled the wake-up, or when Qt has dropped it.
    QMetaObject::invokeMethod(receiver_, "RunPendingCalls", Qt::BlockingQueuedConnection);
    receiver_->Calls().Finish(pending);
}

} // namespace velmora
