#include "platform/qt/QtOwnerThreadChannel.h"
#include "tests/console/RunnerHarness.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

// Ends the program as its main function does, while a child floods its output: the windows go with
// their runners, then the channels are closed, then the application object goes. The runners' workers
// must then finish on their own without calling into Qt.
TEST(ProgramExit, ClosingWhileAChildFloodsLeavesNoWorkerBehindTheApplication) {
    int argc = 1;
    char name[] = "console_exit_tests";
    char* argv[] = {name, nullptr};
    auto application = std::make_unique<QApplication>(argc, argv);
    auto runner = std::make_unique<TConsoleIO>(std::make_shared<QtOwnerThreadChannel>());
    runner->EnableKill = true;
    runner->WaitTimeout = 200;
    runner->SplitMode = TSplitMode::smSplitchar;
    int lines = 0;
    runner->OnReceiveOutput = [&](TConsoleIO&, const std::string&) { ++lines; };
    runner->RunProcess(Child({"endless"}), "", false);

    QElapsedTimer elapsed;
    elapsed.start();
    while (lines < 1000 && !elapsed.hasExpired(patience.count()))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_GE(lines, 1000);

    // The runner's destruction kills the child; its workers still hold output for the event loop,
    // which no longer runs.
    runner.reset();
    EXPECT_GT(WorkerThreadCount(), 0);
    const int linesAtClose = lines;
    QtOwnerThreadChannel::CloseAll();
    application.reset();

    WaitForWorkersToEnd();
    EXPECT_EQ(WorkerThreadCount(), 0) << "workers still wait for the application that has gone";
    EXPECT_EQ(lines, linesAtClose);
    EXPECT_FALSE(HasChildProcesses());
}

} // namespace
} // namespace velmora::test
