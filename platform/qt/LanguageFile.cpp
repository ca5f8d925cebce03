#include "platform/qt/LanguageFile.h"

#include "platform/BuiltInEnglish.h"

namespace velmora {

namespace {

// A line break can never be a value, so it marks a key the file lacks.
const std::string kAbsent = "\n";

const ProfileContent& BuiltInEnglish() {
    static const ProfileContent texts{std::string(BuiltInEnglishTexts())};
    return texts;
}

} // namespace

LanguageFile::LanguageFile(const std::string& path)
    : path_(path), content_(ProfileContent::Load(path, &read_)) {}

QString LanguageFile::Text(const char* section, const char* key) const {
    keysRead_.emplace_back(section, key);
    std::string text = content_.ReadString(section, key, kAbsent);
    if (text == kAbsent) {
        text = BuiltInEnglish().ReadString(section, key, "");
        if (read_.Succeeded())
            keysMissing_.emplace(section, key);
    }
    return QString::fromStdString(text);
}

std::string LanguageFile::Problem() const {
    if (!read_.Succeeded())
        return DescribeUnreadFile(path_, read_, kProfileFileLimit) +
               ".\nThe built-in English texts are shown";
    if (!keysMissing_.empty())
        return "The language file \"" + path_ + "\" lacks " + std::to_string(keysMissing_.size()) +
               (keysMissing_.size() == 1 ? " text" : " texts") + ".\nThe built-in English ones are shown";
    return {};
}

} // namespace velmora
