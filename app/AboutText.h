#pragma once

#include "app/LibraryVersions.h"

#include <QString>

namespace velmora {

// The texts of Help > About from the language file.
struct AboutTexts {
    QString version; // %1 the program's version
    QString licence;
    QString libraries; // %1 Qt, %2 libavcodec, %3 libavformat, %4 x264
    QString noX264;    // in place of x264's version when none is loaded
};

QString AboutText(const AboutTexts& texts, const QString& programVersion, const LibraryVersions& versions);

} // namespace velmora
