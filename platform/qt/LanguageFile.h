#pragma once

#include "platform/BoundedFileRead.h"
#include "platform/ProfileFile.h"

#include <QString>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

// The texts of one language file, read once. A key the file lacks, and every key of a file that
// cannot be read, gives the built-in English text, so that no caption is ever blank.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& path);

    QString Text(const char* section, const char* key) const;

    // Every (section, key) asked for so far, in order.
    const std::vector<std::pair<std::string, std::string>>& KeysRead() const { return keysRead_; }

    // After the texts are asked for: one line naming the file when it could not be read or lacked
    // some of them; empty otherwise.
    std::string Problem() const;

private:
    std::string path_;
    BoundedRead read_;
    ProfileContent content_;
    mutable std::vector<std::pair<std::string, std::string>> keysRead_;
    mutable std::set<std::pair<std::string, std::string>> keysMissing_;
};

} // namespace velmora
