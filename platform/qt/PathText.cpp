#include "platform/qt/PathText.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QUrl>

namespace velmora {

std::string PathFromText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString TextFromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathFromLocalFileUrl(const QUrl& url) {
    // The encoded form keeps every byte; the decoded one turns bytes that are not UTF-8 into U+FFFD.
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const QString host = url.host();
    if (!host.isEmpty())
        path.prepend("//" + host.toUtf8());
    return path.toStdString();
}

bool TextKeepsFileName(const QString& text) {
    return !text.contains(QChar::ReplacementCharacter) || FileExists(PathFromText(text));
}

} // namespace velmora
