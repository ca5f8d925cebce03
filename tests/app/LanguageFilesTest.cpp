// Every language file against the English one: the same keys in each section, the same placeholders
// and the same number of mnemonics, so that no window shows a bare key or loses a value or shortcut.
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::test {
namespace {

using Texts = std::map<std::string, std::string>; // "section/key" → value

Texts ReadTexts(const std::string& content) {
    Texts texts;
    std::istringstream lines(content);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        const size_t equals = line.find('=');
        if (line[0] == '[')
            section = line.substr(1, line.find(']') - 1);
        else
            texts[section + "/" + line.substr(0, equals)] =
                equals == line.npos ? "" : line.substr(equals + 1);
    }
    return texts;
}

// %s and %d in their order; %1-style ones, which a translation may reorder, sorted.
std::string Placeholders(const std::string& value) {
    std::string ordered;
    std::vector<std::string> numbered;
    for (size_t at = value.find('%'); at != std::string::npos && at + 1 < value.size();
         at = value.find('%', at + 1)) {
        size_t end = at + 1;
        while (end < value.size() && std::isdigit(static_cast<unsigned char>(value[end])))
            ++end;
        if (end > at + 1)
            numbered.push_back(value.substr(at, end - at));
        else if (value[end] == 's' || value[end] == 'd')
            ordered += value.substr(at, 2) + " ";
    }
    std::sort(numbered.begin(), numbered.end());
    for (const std::string& number : numbered)
        ordered += number + " ";
    return ordered;
}

size_t Mnemonics(const std::string& value) {
    size_t count = 0;
    for (size_t i = 0; i < value.size(); ++i)
        if (value[i] == '&' && (i + 1 == value.size() || value[++i] != '&'))
            ++count;
    return count;
}

std::vector<std::string> Differences(const std::string& english, const std::string& other) {
    const Texts reference = ReadTexts(english), texts = ReadTexts(other);
    std::vector<std::string> found;
    for (const auto& [name, value] : reference) {
        const auto it = texts.find(name);
        if (it == texts.end())
            found.push_back(name + ": missing");
        else if (it->second.empty() && !value.empty())
            found.push_back(name + ": empty");
        else if (Placeholders(it->second) != Placeholders(value))
            found.push_back(name + ": placeholders " + Placeholders(it->second) + "instead of " +
                            Placeholders(value));
        else if (Mnemonics(it->second) != Mnemonics(value))
            found.push_back(name + ": " + std::to_string(Mnemonics(it->second)) + " mnemonics instead of " +
                            std::to_string(Mnemonics(value)));
    }
    for (const auto& [name, value] : texts)
        if (!reference.contains(name))
            found.push_back(name + ": not in the English file");
    return found;
}

TEST(LanguageFiles, EachMatchesTheEnglishKeysPlaceholdersAndMnemonics) {
    const std::string folder = std::string(VELMORA_SOURCE_DIR) + "/resources/language/";
    const std::string english = ReadTextFile(folder + "en.ini");
    size_t checked = 0;
    for (const std::string& name : FolderEntries(folder)) {
        if (name == "en.ini" || !name.ends_with(".ini"))
            continue;
        ++checked;
        for (const std::string& difference : Differences(english, ReadTextFile(folder + name)))
            ADD_FAILURE() << name << " " << difference;
    }
    EXPECT_GE(checked, 7u) << "the language files were not found in " << folder;
}

TEST(LanguageFiles, TheCheckTellsEachFault) {
    const std::string english = "; header\n[a]\nx=&Open %1 of %2\ny=%s is %d%%\n[b]\nx=Save &&Go\n";
    for (auto [other, expected] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"[a]\nx=%2 sur %1 &ouvrir\ny=%s vaut %d%%\n[b]\nx=A && B\n", {}},
             {"[a]\nx=&Abrir %1 de %2\n[b]\nx=Go\n", {"a/y: missing"}},
             {"[a]\nx=&Abrir %1 de %2\ny=\n[b]\nx=Go\n", {"a/y: empty"}},
             {"[a]\nx=&Open %1 of %2\ny=%s is %d\n\n[b]\nx=Go\nz=extra\n", {"b/z: not in the English file"}},
             {"[a]\nx=&Open %1 of %2\ny=%d is %s\n[b]\nx=Go\n",
              {"a/y: placeholders %d %s instead of %s %d "}},
             {"[a]\nx=&Open %1\ny=%s %d\n[b]\nx=Go\n", {"a/x: placeholders %1 instead of %1 %2 "}},
             {"[a]\nx=Open %1 of %2\ny=%s %d\n[b]\nx=&Go\n",
              {"a/x: 0 mnemonics instead of 1", "b/x: 1 mnemonics instead of 0"}},
             {"[b]\nx=&Go\n", {"a/x: missing", "a/y: missing", "b/x: 1 mnemonics instead of 0"}}})
        EXPECT_EQ(Differences(english, other), expected) << other;
}

} // namespace
} // namespace velmora::test
