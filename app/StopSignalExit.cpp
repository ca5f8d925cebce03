#include "app/StopSignalExit.h"

#include "app/UnitMain.h"
#include "platform/StopSignals.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>

namespace velmora {

StopSignalExit::StopSignalExit(TfrmMain& frmMain)
    : frmMain_(frmMain), notifier_(InstallStopSignals(), QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Exit(); });
}

void StopSignalExit::Exit() {
    // The pipe stays readable: once is enough.
    notifier_.setEnabled(false);
    frmMain_.ExitWithoutAsking();
    // A question open at that moment would hold its own event loop until answered; nobody will.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window);
            dialog != nullptr && dialog->isModal() && dialog->isVisible())
            dialog->reject();
    QCoreApplication::quit();
}

} // namespace velmora
