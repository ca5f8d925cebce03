#pragma once

#include <string>
#include <vector>

namespace velmora {

// A language the settings offer: the code stored (ISO 639-2/B) and its name in its own script.
struct NamedLanguage {
    const char* code;
    const char* ownName;
};

// The languages offered, in the order shown.
const std::vector<NamedLanguage>& OfferedLanguages();

// The stored code a code stands for: "zho", "zh" and "chi" are all "chi"; a code outside the table
// stays as it is.
std::string StoredLanguageCode(const std::string& code);

// The language's name in its own script (UTF-8); the code itself when it is not in the table.
std::string OwnLanguageName(const std::string& code);

} // namespace velmora
