// The documentation says what the program does: every config.ini key it reads is in the reference,
// every menu command and check box of a language's window is named in that language's help page,
// and the manual page and the encoder reference name every word the encoder takes.
#include "tests/docs/SourceText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

namespace velmora::test {
namespace {

const std::string kRoot = VELMORA_SOURCE_DIR "/";

// Each "## [section]" of the reference with the keys its tables list first in a row.
std::set<std::pair<std::string, std::string>> DocumentedConfigKeys(const std::string& text) {
    std::set<std::pair<std::string, std::string>> keys;
    std::string section;
    std::smatch match;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, match, std::regex(R"(## \[(\w+)\].*)")))
            section = match[1];
        else if (line.rfind("## ", 0) == 0)
            section.clear();
        else if (!section.empty() && std::regex_search(line, match, std::regex(R"(^\| `(\w+)` \|)")))
            keys.insert({section, match[1]});
    }
    return keys;
}

TEST(Docs, TheConfigReferenceListsEveryKeyTheProgramReadsAndNoOther) {
    // The two accessors that take their key from their caller.
    const ConfigKeys read =
        ConfigKeysInSources(SourceFiles({"app", "dialogs", "joblist", "engine", "skin", "platform"}),
                            {{"app/Unit_common.cpp [setting]", {R"re(\{&TfrmMain::\w+, "(\w+)")re"}},
                             {"app/Unit_common.cpp [window]", {R"re(\bread\("(\w+)"\))re"}}});
    EXPECT_TRUE(read.unresolved.empty())
        << "accessor calls whose key the test cannot tell: " << testing::PrintToString(read.unresolved);
    ASSERT_GE(read.keys.size(), 20u); // the scan found the accessors at all

    const auto documented = DocumentedConfigKeys(FileText(kRoot + "docs/config-ini.md"));
    for (const auto& [section, key] : read.keys)
        EXPECT_TRUE(documented.count({section, key}))
            << "[" << section << "] " << key << " is not in docs/config-ini.md";
    for (const auto& [section, key] : documented)
        EXPECT_TRUE(read.keys.count({section, key}))
            << "docs/config-ini.md lists [" << section << "] " << key << ", which the program does not read";
}

// The language-file keys of the actions that menus show, as the window's code links them.
std::set<std::string> MenuActionKeys() {
    std::set<std::string> keys;
    const std::regex linked(R"((?:LinkedItem\(\w+, "\w+", |Menu->addAction\()(Action\w+)\))");
    for (const auto& [path, text] : SourceFiles({"app"}))
        for (std::sregex_iterator it(text.begin(), text.end(), linked), end; it != end; ++it)
            keys.insert((*it)[1]);
    return keys;
}

TEST(Docs, EachHelpPageNamesEveryMenuCommandAndCheckBoxOfItsLanguage) {
    const std::set<std::string> actions = MenuActionKeys();
    ASSERT_TRUE(actions.count("ActionFileAdd")) << "the scan found no menu items";
    size_t languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kRoot + "resources/language")) {
        const std::string stem = entry.path().stem().string();
        const std::string page = stem == "en" ? "Velmora.html" : "Velmora_" + stem + ".html";
        const std::string text = PageText(FileText(kRoot + "resources/help/" + page));
        ASSERT_FALSE(text.empty()) << page;
        ++languages;
        for (const auto& [section, keys] : ParseIni(FileText(entry.path().string())))
            for (const auto& [key, caption] : keys) {
                const bool named =
                    key.rfind("N_", 0) == 0 || key.rfind("checkBox", 0) == 0 || actions.count(key);
                if (!named)
                    continue;
                EXPECT_NE(text.find(ShownText(caption)), std::string::npos)
                    << page << " does not name \"" << ShownText(caption) << "\" (" << section << " " << key
                    << ")";
            }
    }
    EXPECT_EQ(languages, 11u);
}

TEST(Docs, TheManualPagesAndTheEncoderReferenceNameEveryEncoderWord) {
    const std::string manual = FileText(kRoot + "docs/man/libq7z.1");
    const std::string reference = FileText(kRoot + "docs/encoder.md");
    const std::string parser = FileText(kRoot + "encoder/CommandLine.cpp");
    std::set<std::string> words;
    const std::regex word(R"re("(-[a-z]+)")re");
    for (std::sregex_iterator it(parser.begin(), parser.end(), word), end; it != end; ++it)
        words.insert((*it)[1].str().substr(1));
    for (const std::string& option : words) {
        EXPECT_TRUE(std::regex_search(manual, std::regex(R"(\\-)" + option + "\\b")))
            << "-" << option << " in libq7z.1";
        EXPECT_TRUE(std::regex_search(reference, std::regex("(^|[^\\w-])-" + option + "\\b")))
            << "-" << option << " in docs/encoder.md";
    }
    EXPECT_GE(words.size(), 20u);
    for (const std::string page : {"velmora.1", "libq7z.1"})
        EXPECT_NE(FileText(kRoot + "docs/man/" + page).find("\"Velmora " VELMORA_VERSION "\""),
                  std::string::npos)
            << page << " names another version than " << VELMORA_VERSION;
}

} // namespace
} // namespace velmora::test
