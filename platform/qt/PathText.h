#pragma once

#include <QString>

class QUrl;

#include <string>

namespace velmora {

// Paths are bytes on Linux; these keep any name intact on its way between the program and Qt's text.
std::string PathFromText(const QString& text);
QString TextFromPath(const std::string& path);

// The exact bytes of a local file URL's path (with "//host" before it, as QUrl::toLocalFile gives).
std::string PathFromLocalFileUrl(const QUrl& url);

// False for text that cannot stand for the name it was read from: decoding a name that is not UTF-8
// leaves U+FFFD in its text, and that text names no file.
bool TextKeepsFileName(const QString& text);

} // namespace velmora
