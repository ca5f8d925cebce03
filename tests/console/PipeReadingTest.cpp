#include "console/StreamReader.h"
#include "platform/CancellationFlag.h"
#include "platform/ChildProcess.h"
#include "platform/Pipe.h"
#include "tests/console/RunnerHarness.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velmora::test {
namespace {

TEST(PipeReading, PipeEndsStayClearOfTheStandardStreams) {
    const int savedInput = dup(STDIN_FILENO);
    ASSERT_GE(savedInput, 0);
    close(STDIN_FILENO);
    Pipe pipe = CreatePipe();
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    EXPECT_GT(pipe.readEnd.Get(), 2);
    EXPECT_GT(pipe.writeEnd.Get(), 2);
    EXPECT_EQ(fcntl(pipe.readEnd.Get(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    EXPECT_EQ(fcntl(pipe.writeEnd.Get(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
}

TEST(PipeReading, AReadThatKeepsFailingIsReportedOnceAndWaitsForTheChild) {
    FileDescriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    std::shared_ptr<ChildProcess> child =
        ChildProcess::Spawn(Child({"hang"}), "", nothing.Get(), nothing.Get(), nothing.Get());
    CancellationFlag childGone;
    // Every read of a folder fails, as long as one likes.
    FileDescriptor failing(open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));

    std::atomic<int> failures{0};
    std::string text;
    StreamReader reader{[](std::string_view) { ADD_FAILURE() << "read a chunk"; },
                        [&](const std::string& errorText) {
                            text = errorText;
                            ++failures;
                        }};
    std::thread readerThread([&] { reader.Run(failing.Get(), childGone, *child); });
    std::thread waiterThread([&] {
        EXPECT_EQ(child->AwaitEnd().kind, ChildExit::Kind::Signalled);
        childGone.Set();
    });

    while (failures == 0)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(child->WaitForEnd(0ms));
    child->Kill();
    readerThread.join();
    waiterThread.join();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(text, "System Error.  Code: 21.\r\nIs a directory");
    child->Kill(); // reaped: must not touch the number any more
}

} // namespace
} // namespace velmora::test
