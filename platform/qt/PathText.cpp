#include "platform/qt/PathText.h"

#include <QFile>

namespace velmora {

std::string PathFromText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString TextFromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace velmora
