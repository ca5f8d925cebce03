#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "tests/support/RecordingErrorReporter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace velmora {
namespace {

using RecordingReporter = test::RecordingErrorReporter;

TEST(ErrorReport, AddsPeriodOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(WithClosingPeriod("Unable to write to /x/config.ini"), "Unable to write to /x/config.ini.");
    EXPECT_EQ(WithClosingPeriod("Code 9"), "Code 9.");
    EXPECT_EQ(WithClosingPeriod("Done."), "Done.");
    EXPECT_EQ(WithClosingPeriod("Really!"), "Really!");
    EXPECT_EQ(WithClosingPeriod("(a, b)"), "(a, b)");
    EXPECT_EQ(WithClosingPeriod(""), "");
    EXPECT_EQ(WithClosingPeriod("ファイル"), "ファイル.");
}

TEST(ErrorReport, GuardReportsTheErrorAndLetsTheProgramGoOn) {
    RecordingReporter reporter;
    bool after = false;
    RunGuarded([] { throw EConvertError("'abc' is not a valid integer value"); });
    RunGuarded([] { throw 42; });
    RunGuarded([&] { after = true; });
    ASSERT_EQ(reporter.shown.size(), 2u);
    EXPECT_EQ(reporter.shown[0], "'abc' is not a valid integer value.");
    EXPECT_EQ(reporter.shown[1], "Unknown error.");
    EXPECT_TRUE(after);
}

TEST(ErrorReport, OperatingSystemErrorsCarryCodeAndText) {
    EOSError error(ENOENT);
    EXPECT_EQ(error.Code(), ENOENT);
    EXPECT_EQ(std::string(error.what()), "System Error.  Code: 2.\r\nNo such file or directory");
    EXPECT_EQ(OSErrorMessage(0), "A call to an OS function failed");
}

} // namespace
} // namespace velmora
