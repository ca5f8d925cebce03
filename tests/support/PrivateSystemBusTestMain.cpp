// main() for widget tests that go over D-Bus. They run in a process of their own whose system bus is a
// private dbus-daemon, set up before Qt first connects to the system bus, so no request can reach the
// real logind. Home and temporary folders are the test's own, as for the other widget tests.
#include "tests/support/PrivateBus.h"
#include "tests/support/TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    velmora::test::TemporaryFolder sandbox;
    velmora::test::UseSandboxEnvironment(sandbox);
    velmora::test::PrivateBus bus;
    bus.BecomeSystemBus();

    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
