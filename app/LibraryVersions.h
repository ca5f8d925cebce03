#pragma once

#include <QString>

namespace velmora {

// The versions of the libraries the encoder is built on, as loaded into this process.
struct LibraryVersions {
    QString qt;
    QString libavcodec;
    QString libavformat;
    // x264's build number, or empty when no x264 is loaded.
    QString x264;
};

LibraryVersions LoadedLibraryVersions();

// "58.134.100" from FFmpeg's packed AV_VERSION_INT form.
QString PackedVersionText(unsigned packed);
// The build number in a loaded x264's file name ("/usr/lib/libx264.so.164" gives "164"), or empty.
QString X264BuildFromFileName(const QString& fileName);

} // namespace velmora
