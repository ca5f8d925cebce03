#include "app/AboutText.h"

namespace velmora {

QString AboutText(const AboutTexts& texts, const QString& programVersion, const LibraryVersions& versions) {
    // x264 names its builds "core N". One argument at a time would read a '%2' inside a version as the next
    // place.
    const QString libraries =
        texts.libraries.arg(versions.qt, versions.libavcodec, versions.libavformat,
                            versions.x264.isEmpty() ? texts.noX264 : QStringLiteral("core ") + versions.x264);
    return texts.version.arg(programVersion) + QStringLiteral("\n\n") + texts.licence +
           QStringLiteral("\n\n") + libraries;
}

} // namespace velmora
