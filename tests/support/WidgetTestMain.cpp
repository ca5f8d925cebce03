// Widget tests run offscreen with a home and a temporary folder of their own, so nothing they do
// reaches the real ones. The system bus is one that does not exist: whatever slips past the fake
// power switch cannot reach logind.
#include "tests/support/TestFiles.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    velmora::test::TemporaryFolder sandbox;
    velmora::test::UseSandboxEnvironment(sandbox);

    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
