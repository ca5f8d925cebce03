#pragma once

#include "engine/RunReport.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The fields of the engine's own line-based files: tab-separated, each byte kept as it is but for a
// backslash, a tab, a line feed and a carriage return, which are written as \\, \t, \n and \r. Any
// other byte, invalid UTF-8 included, passes unchanged.
std::string EscapedField(std::string_view field);
// Nothing for a backslash followed by anything else, or ending the field.
std::optional<std::string> UnescapedField(std::string_view field);
// The text between separators; one more part than there are separators.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// "converted", "failed", "stopped", "not-reached".
std::string_view EntryResultWord(EntryResult result);
std::optional<EntryResult> EntryResultFromWord(std::string_view word);

} // namespace velmora
