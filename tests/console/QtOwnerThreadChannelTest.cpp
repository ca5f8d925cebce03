#include "platform/qt/QtOwnerThreadChannel.h"
#include "tests/console/RunnerHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

// Dispatches Qt events until `done` holds, as the program's waits do.
bool DispatchUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = patience) {
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer recheck;
    recheck.start(50);
    while (!done()) {
        if (elapsed.hasExpired(limit.count()))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class EventCounter : public QObject {
public:
    EventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~EventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Timer:
        case QEvent::DeferredDelete:
        case QEvent::ChildAdded:
        case QEvent::ChildRemoved:
            break; // the test's own single-shot timer coming and going
        default:
            ++count;
        }
        return false;
    }
    int count = 0;
};

TEST(QtOwnerThreadChannel, WorkerCallsRunOnTheOwnerThreadOneByOneBeforeDeliverReturns) {
    auto channel = std::make_shared<QtOwnerThreadChannel>();
    const std::thread::id owner = std::this_thread::get_id();
    Texts ran;
    bool ranAtOnce = false;
    channel->Deliver([&] { ranAtOnce = std::this_thread::get_id() == owner; });
    EXPECT_TRUE(ranAtOnce);

    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 3; ++w)
        workers.emplace_back([&, w, held = channel] {
            for (int n = 0; n < 50; ++n) {
                const std::string mark = std::to_string(w) + ":" + std::to_string(n);
                bool done = false;
                held->Deliver([&] {
                    EXPECT_EQ(std::this_thread::get_id(), owner);
                    ran.push_back(mark);
                    done = true;
                });
                EXPECT_TRUE(done);
            }
            ++finished;
        });
    // The workers hold the channel last, so it is released off the owner thread.
    channel.reset();
    ASSERT_TRUE(DispatchUntil([&] { return finished == 3; }));
    for (std::thread& worker : workers)
        worker.join();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_EQ(ran.size(), 150u);
    for (int w = 0; w < 3; ++w) {
        int next = 0;
        for (const std::string& mark : ran) {
            if (mark[0] == '0' + w) {
                EXPECT_EQ(mark, std::to_string(w) + ":" + std::to_string(next++));
            }
        }
    }
}

TEST(QtOwnerThreadChannel, ACallStillRunningInANestedEventLoopKeepsItsWorkerWaiting) {
    auto channel = std::make_shared<QtOwnerThreadChannel>();
    std::atomic<bool> secondReturned{false};
    bool returnedWhileRunning = false;
    // Both calls wait in the queue before the owner dispatches: the first wake-up runs both, and the
    // second wake-up is handled inside the second call's nested loop, as under a message box.
    std::thread first([&] { channel->Deliver([] {}); });
    std::this_thread::sleep_for(50ms);
    std::thread second([&] {
        channel->Deliver([&] {
            QElapsedTimer nested;
            nested.start();
            while (!nested.hasExpired(200)) {
                QCoreApplication::sendPostedEvents();
                QCoreApplication::processEvents();
            }
            returnedWhileRunning = secondReturned;
        });
        secondReturned = true;
    });
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(DispatchUntil([&] { return secondReturned.load(); }));
    first.join();
    second.join();
    EXPECT_FALSE(returnedWhileRunning);
}

TEST(QtOwnerThreadChannel, ClosingReleasesWaitingWorkersAndDropsEveryLaterCall) {
    auto channel = std::make_shared<QtOwnerThreadChannel>();
    std::atomic<int> ran{0};
    std::atomic<int> returned{0};
    const auto deliver = [&, channel] {
        channel->Deliver([&] { ++ran; });
        ++returned;
    };
    std::thread waiting(deliver);
    // Nothing dispatches meanwhile, as after the program's event loop has ended.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(returned, 0);

    QtOwnerThreadChannel::CloseAll();
    std::thread later(deliver);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (returned < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(returned, 2) << "a worker still waits for the closed channel";
    waiting.join();
    later.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
    // The owner thread's own calls still run at once.
    bool ranAtOnce = false;
    channel->Deliver([&] { ranAtOnce = true; });
    EXPECT_TRUE(ranAtOnce);
}

TEST(QtOwnerThreadChannel, RunnerEventsArriveOnTheUserInterfaceThreadAndAnIdleChildCostsNothing) {
    TConsoleIO runner(std::make_shared<QtOwnerThreadChannel>());
    runner.SplitMode = TSplitMode::smSplitchar;
    runner.EnableKill = true;
    const std::thread::id owner = std::this_thread::get_id();
    Texts events;
    runner.OnReceiveOutput = [&](TConsoleIO& sender, const std::string& text) {
        EXPECT_EQ(&sender, &runner);
        EXPECT_EQ(std::this_thread::get_id(), owner);
        events.push_back("out:" + text);
    };
    runner.OnReceiveError = [&](TConsoleIO&, const std::string& text) {
        EXPECT_EQ(std::this_thread::get_id(), owner);
        events.push_back("err:" + text);
    };
    runner.OnProcessStatusChange = [&](TConsoleIO&, bool running) {
        EXPECT_EQ(std::this_thread::get_id(), owner);
        events.push_back(running ? "status:1" : "status:0");
    };

    runner.RunProcess(Child({Out("hello\n"), "sleep:100", Err("progress\r"), "until-quit", Out("bye")}), "",
                      false);
    ASSERT_TRUE(DispatchUntil([&] { return events.size() == 3; }));

    {
        EventCounter counter;
        bool quiet = false;
        QTimer::singleShot(300, [&] { quiet = true; });
        while (!quiet)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(counter.count, 0) << "the user-interface thread woke up while the child was idle";
    }

    runner.StopProcess();
    ASSERT_TRUE(DispatchUntil([&] { return !runner.IsRunning(); }));
    EXPECT_EQ(events, (Texts{"status:1", "out:hello", "err:progress\r", "out:bye", "status:0"}));
    EXPECT_EQ(runner.ExitCode(), 0);
}

} // namespace
} // namespace velmora::test

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
