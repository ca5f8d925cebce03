#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// The whole file, or "" when it cannot be read.
std::string FileText(const std::string& path);

// The C++ sources (.cpp, .h) under these folders of the source tree, by their path in it.
std::map<std::string, std::string> SourceFiles(const std::vector<std::string>& folders);

// Each [section] of an INI text with its keys and values.
using IniSections = std::map<std::string, std::map<std::string, std::string>>;
IniSections ParseIni(const std::string& text);

// The (section, key) pairs of config.ini that the sources read or write: the accessor calls whose
// section and key are literals or constants of the same file, plus, where an accessor takes its key
// as a parameter, the keys that the patterns keyHandedIn["<path> [<section>]"] find in the sources.
// A call of that kind keyHandedIn does not know is returned in `unresolved`.
struct ConfigKeys {
    std::set<std::pair<std::string, std::string>> keys;
    std::vector<std::string> unresolved;
};
ConfigKeys ConfigKeysInSources(const std::map<std::string, std::string>& sources,
                               const std::map<std::string, std::vector<std::string>>& keyHandedIn);

// A window text as the reader sees it: without its "&" accelerator (or "(&K)" marker), the "..." or
// "…" of a command that opens a dialog, and with runs of white space as one blank.
std::string ShownText(const std::string& caption);
// The text of an HTML page without its tags, entities decoded, white space as in ShownText.
std::string PageText(const std::string& html);

} // namespace velmora::test
