#include "tests/docs/SourceText.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace velmora::test {

std::string FileText(const std::string& path) {
    std::ifstream in(VELMORA_SOURCE_DIR "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::map<std::string, std::string> SourceFiles(const std::vector<std::string>& folders) {
    std::map<std::string, std::string> files;
    const std::filesystem::path root(VELMORA_SOURCE_DIR);
    for (const std::string& folder : folders)
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string path = std::filesystem::relative(entry.path(), root).string();
            if (entry.is_regular_file() && std::regex_search(path, std::regex(R"(\.(cpp|h)$)")))
                files[path] = FileText(path);
        }
    return files;
}

std::set<std::pair<std::string, std::string>> Captures(const std::string& text, const std::string& pattern) {
    std::set<std::pair<std::string, std::string>> found;
    const std::regex regex(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), regex), end; it != end; ++it)
        found.insert({(*it)[1].str(), (*it)[2].str()});
    return found;
}

static std::string CollapseSpace(const std::string& text) {
    return std::regex_replace(std::regex_replace(text, std::regex(R"(\s+)"), " "), std::regex("^ | $"), "");
}

std::string ShownText(const std::string& caption) {
    std::string text = std::regex_replace(caption, std::regex(R"(\s*\(&.\))"), "");
    text = std::regex_replace(text, std::regex("&(&?)"), "$1"); // "&&" stands for "&"
    return CollapseSpace(std::regex_replace(text, std::regex(R"((\.\.\.|…)$)"), ""));
}

std::string PageText(const std::string& html) {
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
    for (const auto& [entity, character] :
         {std::pair{"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
        text = std::regex_replace(text, std::regex(entity), character);
    return CollapseSpace(text);
}

} // namespace velmora::test
