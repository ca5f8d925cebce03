// Widget tests run offscreen with a home and a temporary folder of their own, so nothing they do
// reaches the real ones. The system bus is one that does not exist: whatever slips past the fake
// power switch cannot reach logind.
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
    unsetenv("XDG_VIDEOS_DIR");
    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + sandbox / "no-system-bus").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
