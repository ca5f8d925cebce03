#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::test {

// A file of the source tree by its path in it, or "" when it cannot be read.
std::string FileText(const std::string& path);
// The C++ sources (.cpp, .h) under these folders of the source tree, by their path in it.
std::map<std::string, std::string> SourceFiles(const std::vector<std::string>& folders);
// The distinct (first, second) groups of the matches of `pattern` in `text` ("" for a missing group).
std::set<std::pair<std::string, std::string>> Captures(const std::string& text, const std::string& pattern);
// A caption as the reader sees it: no "&" accelerator or "(&K)", no closing "..." or "…", blanks collapsed.
std::string ShownText(const std::string& caption);
// The text of an HTML page without its tags, entities decoded, white space as in ShownText.
std::string PageText(const std::string& html);

} // namespace velmora::test
