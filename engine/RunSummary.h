#pragma once

#include "engine/RunReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// How a run ended, for its summary.
enum class RunEnd : std::uint8_t { Completed, Stopped, Error };

// What the queue's line tells after a run.
struct RunSummary {
    RunEnd end = RunEnd::Completed;
    int converted = 0;
    int queued = 0;
    int failed = 0;
    // From the first file's start to the end; nothing when no file was started.
    std::optional<std::int64_t> seconds;
};

RunSummary SummaryOfRun(const RunReport& report, RunEnd end, std::optional<double> seconds);

// The language texts a summary is told with; %1 and %2 as QString::arg numbers them.
struct RunSummaryTexts {
    // "Done: %1 of %2 converted", by how the run ended.
    std::string completed;
    std::string stopped;
    std::string error;
    // Added when a file failed: ", %1 failed".
    std::string failed;
    // Added after a separator: "took %1".
    std::string took;
};

// "Done: 4 of 5 converted, 1 failed  ·  took 12:04".
std::string RunSummaryText(const RunSummary& summary, const RunSummaryTexts& texts);

// The format with each %1 … %9 replaced by that argument; a number without an argument stays as
// written, as does every other character.
std::string FormatNumbered(const std::string& format, const std::vector<std::string>& arguments);

} // namespace velmora
