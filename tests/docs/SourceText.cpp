#include "tests/docs/SourceText.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

namespace velmora::test {
namespace {

std::string CollapseSpace(const std::string& text) {
    std::string result;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (!space)
            result += c;
        else if (!result.empty() && result.back() != ' ')
            result += ' ';
    }
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The literal an argument stands for: itself when quoted, else the value of a constant of that name
// defined in the same file.
std::optional<std::string> Literal(const std::string& argument, const std::string& file) {
    std::smatch match;
    if (std::regex_match(argument, match, std::regex(R"re("([^"]*)")re")))
        return match[1].str();
    if (!std::regex_match(argument, std::regex(R"([A-Za-z_]\w*)")))
        return std::nullopt;
    if (std::regex_search(file, match, std::regex("\\b" + argument + R"re((?:\[\])?\s*=\s*"([^"]*)")re")))
        return match[1].str();
    return std::nullopt;
}

} // namespace

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, std::string> SourceFiles(const std::vector<std::string>& folders) {
    std::map<std::string, std::string> files;
    const std::filesystem::path root(VELMORA_SOURCE_DIR);
    for (const std::string& folder : folders)
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".cpp" || extension == ".h"))
                files[std::filesystem::relative(entry.path(), root).string()] =
                    FileText(entry.path().string());
        }
    return files;
}

IniSections ParseIni(const std::string& text) {
    IniSections sections;
    std::string section;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (const size_t equals = line.find('='); equals != std::string::npos && line.front() != ';')
            sections[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
    return sections;
}

ConfigKeys ConfigKeysInSources(const std::map<std::string, std::string>& sources,
                               const std::map<std::string, std::vector<std::string>>& keyHandedIn) {
    const std::regex call(R"(\b(?:Read|Write)(?:String|Integer)\(\s*([^,()]+?)\s*,\s*([^,()]+?)\s*,)");
    ConfigKeys found;
    for (const auto& [path, text] : sources) {
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
            // A section that is no literal belongs to another INI file (a language file) or to the
            // profile layer itself.
            const std::optional<std::string> section = Literal((*it)[1].str(), text);
            if (!section)
                continue;
            if (const std::optional<std::string> key = Literal((*it)[2].str(), text)) {
                found.keys.insert({*section, *key});
                continue;
            }
            const auto handedIn = keyHandedIn.find(path + " [" + *section + "]");
            if (handedIn == keyHandedIn.end()) {
                found.unresolved.push_back(path + ": " + it->str());
                continue;
            }
            for (const std::string& pattern : handedIn->second) {
                const std::regex handedKey(pattern);
                for (const auto& [otherPath, otherText] : sources)
                    for (std::sregex_iterator key(otherText.begin(), otherText.end(), handedKey);
                         key != std::sregex_iterator(); ++key)
                        found.keys.insert({*section, (*key)[1].str()});
            }
        }
    }
    return found;
}

std::string ShownText(const std::string& caption) {
    std::string text = std::regex_replace(caption, std::regex(R"(\s*\(&.\))"), "");
    text = ReplaceAll(ReplaceAll(ReplaceAll(text, "&&", "\x01"), "&", ""), "\x01", "&");
    for (const std::string ellipsis : {"...", "…"})
        if (text.size() >= ellipsis.size() &&
            text.compare(text.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0)
            text.erase(text.size() - ellipsis.size());
    return CollapseSpace(text);
}

std::string PageText(const std::string& html) {
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
    for (const auto& [entity, character] :
         {std::pair{"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        text = ReplaceAll(text, entity, character);
    return CollapseSpace(text);
}

} // namespace velmora::test
