#pragma once

#include <QString>

#include <string>

namespace velmora {

// Paths are bytes on Linux; these keep any name intact on its way between the program and Qt's text.
std::string PathFromText(const QString& text);
QString TextFromPath(const std::string& path);

} // namespace velmora
