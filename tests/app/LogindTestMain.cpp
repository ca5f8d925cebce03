// The power-off tests that go over D-Bus run in a process of their own: its system bus is a private
// dbus-daemon, set up before Qt first connects to the system bus, so no request can reach logind.
#include "tests/support/PrivateBus.h"
#include "tests/support/TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    velmora::test::TemporaryFolder sandbox;
    velmora::test::MakeFolder(sandbox / "home");
    velmora::test::MakeFolder(sandbox / "tmp");
    setenv("HOME", (sandbox / "home").c_str(), 1);
    setenv("TMPDIR", (sandbox / "tmp").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (sandbox / "home/.config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (sandbox / "tmp").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    velmora::test::PrivateBus bus;
    bus.BecomeSystemBus();

    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
