#include "app/LibraryVersions.h"

#include <QFileInfo>
#include <QRegularExpression>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <link.h>

namespace velmora {

QString PackedVersionText(unsigned packed) {
    return QStringLiteral("%1.%2.%3").arg(packed >> 16).arg((packed >> 8) & 0xff).arg(packed & 0xff);
}

QString X264BuildFromFileName(const QString& fileName) {
    static const QRegularExpression build(QStringLiteral("^libx264\\.so\\.(\\d+)$"));
    const QRegularExpressionMatch match = build.match(QFileInfo(fileName).fileName());
    return match.hasMatch() ? match.captured(1) : QString();
}

namespace {
// x264 has no version call; its soname carries the build number, the same as its X264_BUILD.
QString LoadedX264Build() {
    QString found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* result = static_cast<QString*>(data);
            if (info->dlpi_name != nullptr && result->isEmpty())
                *result = X264BuildFromFileName(QString::fromLocal8Bit(info->dlpi_name));
            return 0;
        },
        &found);
    return found;
}
} // namespace

LibraryVersions LoadedLibraryVersions() {
    return {QString::fromLatin1(qVersion()), PackedVersionText(avcodec_version()),
            PackedVersionText(avformat_version()), LoadedX264Build()};
}

} // namespace velmora
