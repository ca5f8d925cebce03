#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

namespace velmora {

enum class SizeRounding { Down, Up };

// The units' symbols, as the window's language writes them ("Go" in French).
struct SizeUnits {
    QString gigabytes = QStringLiteral("GB");
    QString megabytes = QStringLiteral("MB");
    QString kilobytes = QStringLiteral("kB");
};

// A size in decimal units, as drives are sold (1 GB is 1,000,000,000 bytes), with the locale's
// decimal mark: "1.2 GB", "800 MB", "16 kB". What is needed rounds up and what is free rounds down, so
// that a shortfall never reads as two equal sizes.
QString SizeText(std::uint64_t bytes, SizeRounding rounding, const QLocale& locale = QLocale(),
                 const SizeUnits& units = SizeUnits());

} // namespace velmora
