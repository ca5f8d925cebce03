#pragma once

#include "engine/RunReport.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A run's report kept in a file while the computer is powered off, so that the next start can show
// it. One line per field, tab-separated, with backslash escapes; nothing else reads or writes it.
std::string RunReportText(const RunReport& report);
// Nothing when the text is not such a report (another version's, cut short, or damaged).
std::optional<RunReport> ParseRunReportText(std::string_view text);

// Replaces the file at once or not at all (a temporary file beside it, renamed over it), so that a
// power-off during the write never leaves half a report. False on failure, with errno set.
bool WriteRunReportFile(const std::string& path, const RunReport& report);
// Nothing when the file is missing or not a report.
std::optional<RunReport> ReadRunReportFile(const std::string& path);

} // namespace velmora
