// The documentation says what the program does: every config.ini key it reads is in the reference,
// every menu command and check box of a language's window is named in that language's help page,
// and the manual page and the encoder reference name every word the encoder takes.
#include "tests/docs/SourceText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace velmora::test {
namespace {

// The string an argument stands for: a literal, or a constant of the same file; "" when neither.
std::string Literal(const std::string& argument, const std::string& file) {
    std::smatch match;
    if (std::regex_match(argument, match, std::regex(R"re("([^"]*)")re")))
        return match[1];
    for (const auto& [name, value] : Captures(file, R"re(\b(\w+)(?:\[\])?\s*=\s*"([^"]*)")re"))
        if (name == argument)
            return value;
    return "";
}

TEST(Docs, TheConfigReferenceListsEveryKeyTheProgramReadsAndNoOther) {
    const auto sources = SourceFiles({"app", "dialogs", "joblist", "engine", "skin", "platform"});
    // The two accessors that take their key from their caller, with the pattern that finds it there.
    const std::map<std::string, std::string> handedIn = {
        {"app/Unit_common.cpp [setting]", R"re(\{&TfrmMain::\w+, "(\w+)")re"},
        {"app/Unit_common.cpp [window]", R"re(\bread\("(\w+)"\))re"}};
    const std::regex call(R"(\b(?:Read|Write)(?:String|Integer)\(\s*([^,()]+?)\s*,\s*([^,()]+?)\s*,)");
    std::set<std::pair<std::string, std::string>> read, documented;
    for (const auto& [path, text] : sources)
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
            const std::string section = Literal((*it)[1], text), key = Literal((*it)[2], text);
            if (section.empty()) // another INI file's (a language file's) or the profile layer's own
                continue;
            const auto handed = handedIn.find(path + " [" + section + "]");
            if (!key.empty())
                read.insert({section, key});
            else if (handed == handedIn.end())
                ADD_FAILURE() << path << ": the test cannot tell the key of " << it->str();
            else
                for (const auto& source : sources)
                    for (const auto& [handedKey, none] : Captures(source.second, handed->second))
                        read.insert({section, handedKey});
        }
    ASSERT_GE(read.size(), 20u); // the scan found the accessors at all
    // Each "## [section]" of the reference with the keys its tables list first in a row.
    const std::string reference = FileText("docs/config-ini.md");
    for (const auto& [section, none] : Captures(reference, R"((?:^|\n)## \[(\w+)\])")) {
        const size_t at = reference.find("\n## [" + section + "]"), end = reference.find("\n## ", at + 1);
        for (const auto& [key, unused] : Captures(reference.substr(at, end - at), R"(\n\| `(\w+)` \|)"))
            documented.insert({section, key});
    }
    for (const auto* keys : {&read, &documented})
        for (const auto& [section, key] : *keys)
            EXPECT_EQ(read.count({section, key}), documented.count({section, key}))
                << "[" << section << "] " << key
                << ": read by the program (left), in docs/config-ini.md (right)";
}

TEST(Docs, EachHelpPageNamesEveryMenuCommandAndCheckBoxOfItsLanguage) {
    // The language-file keys of the actions that menus show, as the window's code links them.
    std::set<std::string> actions;
    for (const auto& [path, text] : SourceFiles({"app"}))
        for (const auto& [action, none] :
             Captures(text, R"((?:LinkedItem\(\w+, "\w+", |Menu->addAction\()(Action\w+)\))"))
            actions.insert(action);
    ASSERT_TRUE(actions.count("ActionFileAdd")) << "the scan found no menu items";
    size_t languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_SOURCE_DIR "/resources/language")) {
        const std::string stem = entry.path().stem().string();
        const std::string page = stem == "en" ? "Velmora.html" : "Velmora_" + stem + ".html";
        const std::string text = PageText(FileText("resources/help/" + page));
        ASSERT_FALSE(text.empty()) << page;
        ++languages;
        const std::string file = "resources/language/" + entry.path().filename().string();
        for (const auto& [key, caption] : Captures(FileText(file), R"((?:^|\n)(\w+)=([^\r\n]*))")) {
            const bool named = key.rfind("N_", 0) == 0 || key.rfind("checkBox", 0) == 0 || actions.count(key);
            EXPECT_TRUE(!named || text.find(ShownText(caption)) != std::string::npos)
                << page << " does not name \"" << ShownText(caption) << "\" (" << file << ": " << key << ")";
        }
    }
    EXPECT_EQ(languages, 11u);
}

TEST(Docs, TheManualPagesAndTheEncoderReferenceNameEveryEncoderWord) {
    const std::string manual = FileText("docs/man/libq7z.1"), reference = FileText("docs/encoder.md");
    const auto words = Captures(FileText("encoder/CommandLine.cpp"), R"re("-([a-z]+)")re");
    EXPECT_GE(words.size(), 20u);
    for (const auto& [word, none] : words) {
        EXPECT_TRUE(std::regex_search(manual, std::regex(R"(\\-)" + word + "\\b")))
            << "docs/man/libq7z.1 does not name -" << word;
        EXPECT_TRUE(std::regex_search(reference, std::regex("(^|[^\\w-])-" + word + "\\b")))
            << "docs/encoder.md does not name -" << word;
    }
    for (const std::string page : {"velmora.1", "libq7z.1"})
        EXPECT_NE(FileText("docs/man/" + page).find("\"Velmora " VELMORA_VERSION "\""), std::string::npos)
            << page << " names another version than " << VELMORA_VERSION;
}

} // namespace
} // namespace velmora::test
