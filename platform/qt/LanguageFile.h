#pragma once

#include "platform/ProfileFile.h"

#include <QString>

#include <utility>
#include <vector>

namespace velmora {

// The texts of one language file, read once. Every key reads as the empty text when it is missing,
// and so does every key of a missing file.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& path);

    QString Text(const char* section, const char* key) const;

    // Every (section, key) asked for so far, in order.
    const std::vector<std::pair<std::string, std::string>>& KeysRead() const { return keysRead_; }

private:
    ProfileContent content_;
    mutable std::vector<std::pair<std::string, std::string>> keysRead_;
};

} // namespace velmora
