#include "platform/qt/SizeText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SizeText, NeededRoundsUpAndFreeRoundsDownInDecimalUnits) {
    const QLocale english(QLocale::English), german(QLocale::German), french(QLocale::French);
    const SizeUnits octets{QStringLiteral("Go"), QStringLiteral("Mo"), QStringLiteral("ko")};
    const struct {
        std::uint64_t bytes;
        SizeRounding rounding;
        const QLocale& locale;
        const char* text;
        SizeUnits units = {};
    } cases[] = {
        {1'150'000'000, SizeRounding::Up, english, "1.2 GB"},
        {1'199'999'999, SizeRounding::Down, english, "1.1 GB"},
        {1'000'000'000, SizeRounding::Up, english, "1.0 GB"},
        {800'400'000, SizeRounding::Down, english, "800 MB"},
        {800'400'000, SizeRounding::Up, english, "801 MB"},
        {999'999'999, SizeRounding::Down, english, "999 MB"},
        {16'000, SizeRounding::Up, english, "16 kB"},
        {0, SizeRounding::Down, english, "0 kB"},
        {1'150'000'000, SizeRounding::Up, german, "1,2 GB"},
        {1'150'000'000, SizeRounding::Up, french, "1,2 Go", octets},
        {16'000, SizeRounding::Up, french, "16 ko", octets},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.bytes, c.rounding, c.locale, c.units).toStdString(), c.text) << c.bytes;
}

} // namespace
} // namespace velmora
