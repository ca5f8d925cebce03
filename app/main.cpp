#include "app/DesktopStart.h"
#include "app/ProgramWindows.h"
#include "app/StopSignalExit.h"
#include "platform/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/StopSignals.h"
#include "platform/qt/FileHandover.h"
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
    // QApplication has taken its own options out of the arguments: the rest are files to queue.
    const std::vector<std::string> files = velmora::FilesFromArguments(argc, argv);
    std::unique_ptr<velmora::FileHandover> handover;
    bool handedOver = false;
    velmora::RunGuarded([&] {
        handover = std::make_unique<velmora::FileHandover>(
            velmora::WindowIdentity(velmora::WithTrailingSeparator(velmora::ExecutableFolder())));
        handedOver = handover->HandOverOrListen(files);
    });
    if (handedOver)
        return 0;
    std::unique_ptr<velmora::StopSignalExit> stopSignals;
    velmora::RunGuarded([&] { stopSignals = std::make_unique<velmora::StopSignalExit>(); });
    const auto stopped = [&] { return stopSignals && stopSignals->Requested(); };
    std::unique_ptr<velmora::ProgramWindows> windows;
    if (!stopped())
        velmora::RunGuarded([&] { windows = std::make_unique<velmora::ProgramWindows>(); });
    if (!windows)
        return stopped() ? 0 : 1;
    int result = 0;
    if (handover)
        velmora::ReceiveHandedOverFiles(*handover, windows->frmMain);
    windows->frmMain.QueueOpenedFiles(files, true);
    if (!stopped())
        windows->frmMain.show();
    if (stopSignals)
        stopSignals->Attach(windows->frmMain);
    if (!stopped())
        result = QApplication::exec();
    stopSignals.reset();
    handover.reset();
    windows.reset();
    // Workers of runners can outlive the windows (a killed encoder's last output): release any that wait
    // for the event loop before the application object goes.
    velmora::QtOwnerThreadChannel::CloseAll();
    velmora::SetErrorReporter(nullptr);
    return result;
}
