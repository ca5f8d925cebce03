#include "platform/qt/LanguageFile.h"

namespace velmora {

LanguageFile::LanguageFile(const std::string& path) : content_(ProfileContent::Load(path)) {}

QString LanguageFile::Text(const char* section, const char* key) const {
    keysRead_.emplace_back(section, key);
    return QString::fromStdString(content_.ReadString(section, key, ""));
}

} // namespace velmora
