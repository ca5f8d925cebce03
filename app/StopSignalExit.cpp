#include "app/StopSignalExit.h"

#include "app/UnitMain.h"
#include "platform/StopSignals.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>

#include <poll.h>

namespace velmora {

namespace {

// Nobody will answer a question or a message open at that moment, or one that opens later.
void RejectIfModal(QObject* window, Qt::ConnectionType when) {
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isModal())
        QMetaObject::invokeMethod(dialog, &QDialog::reject, when);
}

} // namespace

StopSignalExit::StopSignalExit()
    : signalled_(InstallStopSignals()), notifier_(signalled_, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { Exit(); });
}

bool StopSignalExit::Requested() const {
    pollfd pipe = {signalled_, POLLIN, 0};
    return requested_ || ::poll(&pipe, 1, 0) > 0;
}

bool StopSignalExit::eventFilter(QObject* watched, QEvent* event) {
    // Queued: a dialog only now being shown has no loop of its own yet that a reject could end.
    if (event->type() == QEvent::Show)
        RejectIfModal(watched, Qt::QueuedConnection);
    return false;
}

void StopSignalExit::Exit() {
    // The pipe stays readable: once is enough.
    notifier_.setEnabled(false);
    requested_ = true;
    QCoreApplication::instance()->installEventFilter(this);
    if (frmMain_ != nullptr)
        frmMain_->ExitWithoutAsking();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            RejectIfModal(window, Qt::DirectConnection);
    // Ends every running loop; before the main loop has started, Requested() keeps it from starting.
    QCoreApplication::quit();
}

} // namespace velmora
