#include "platform/qt/SizeText.h"

#include <cmath>

namespace velmora {

QString SizeText(std::uint64_t bytes, SizeRounding rounding, const QLocale& locale, const SizeUnits& units) {
    const double value = static_cast<double>(bytes);
    const auto shown = [&](double unit, int decimals, const QString& name) {
        const double scale = std::pow(10.0, decimals);
        const double scaled = value / unit * scale;
        const double rounded = rounding == SizeRounding::Up ? std::ceil(scaled) : std::floor(scaled);
        return locale.toString(rounded / scale, 'f', decimals) + QLatin1Char(' ') + name;
    };
    if (value >= 1e9)
        return shown(1e9, 1, units.gigabytes);
    if (value >= 1e6)
        return shown(1e6, 0, units.megabytes);
    return shown(1e3, 0, units.kilobytes);
}

} // namespace velmora
