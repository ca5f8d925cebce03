#include "app/ProgramWindows.h"
#include "app/StopSignalExit.h"
#include "platform/ErrorReport.h"
#include "platform/StopSignals.h"
#include "platform/qt/MessageBoxErrorReporter.h"
#include "platform/qt/QtOwnerThreadChannel.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[]) {
    // First of all, so that a stop signal at any moment of the start-up ends it too.
    velmora::RunGuarded([] { velmora::InstallStopSignals(); });
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velmora/velmora.png")));

    velmora::MessageBoxErrorReporter reporter;
    velmora::SetErrorReporter(&reporter);
    std::unique_ptr<velmora::StopSignalExit> stopSignals;
    velmora::RunGuarded([&] { stopSignals = std::make_unique<velmora::StopSignalExit>(); });
    const auto stopped = [&] { return stopSignals && stopSignals->Requested(); };
    std::unique_ptr<velmora::ProgramWindows> windows;
    if (!stopped())
        velmora::RunGuarded([&] { windows = std::make_unique<velmora::ProgramWindows>(); });
    if (!windows)
        return stopped() ? 0 : 1;
    int result = 0;
    if (!stopped())
        windows->frmMain.show();
    if (stopSignals)
        stopSignals->Attach(windows->frmMain);
    if (!stopped())
        result = QApplication::exec();
    stopSignals.reset();
    windows.reset();
    // Workers of runners can outlive the windows (a killed encoder's last output): release any that wait
    // for the event loop before the application object goes.
    velmora::QtOwnerThreadChannel::CloseAll();
    velmora::SetErrorReporter(nullptr);
    return result;
}
