#pragma once

#include "engine/ConversionViews.h"

#include <cstdint>
#include <string>

namespace velmora {

// What the parser holds between pieces of the video encoder's output, in whole seconds.
struct ProgressState {
    // The length of the file being converted, from its last duration marker.
    std::int64_t FCurrentDuration = 0;
    // The largest time marker seen; never lowered while the file converts.
    std::int64_t FFurthestTime = 0;
    // The file's place among the files its run converts, and their number, from 1; 0 leaves the
    // numbering to the selected entry's position in the list.
    int place = 0;
    int placeCount = 0;
    // How far the sound's measuring pass before the conversion has come; -1 without such a pass.
    std::int64_t FMeasuredTime = -1;

    // When a file starts, so that it never shows the previous file's values.
    void Clear() { *this = ProgressState(); }
};

// One piece of the video encoder's standard output or error, as the runner delivers it: takes the
// newest complete duration and time markers, sets the bar (0 to 99, never 100) and the status line
// "<msgStatusRun with n/N> [reached-length] <the selected entry's path>", n/N
// the state's place when it has one. Ignores the piece when no entry
// is selected. A malformed number raises EConvertError before anything is shown, and a faulty
// duration never replaces the held one.
void ParseEncoderOutput(const std::string& text, ProgressState& state, const JobListView& jobs,
                        StatusDisplay& display);

// The bar's position for a time and a divisor: time / divisor * 100 in extended precision, rounded
// half to even, kept within 0 to 99.
int ProgressPosition(std::int64_t time, std::int64_t divisor);

// The bar's position when a measuring pass comes first: the pass fills its first kMeasuringShare
// percent, the conversion the rest, so the bar moves during the pass and never goes back.
inline constexpr int kMeasuringShare = 5;
int ProgressPositionAfterMeasuring(std::int64_t measured, std::int64_t time, std::int64_t divisor);

// A time marker's seconds rounded to the nearest whole second, halves to the even neighbour, kept
// within the 64-bit range.
std::int64_t RoundedSeconds(double seconds);

// The format with its first %s replaced by the argument and each %% written as %; anything else
// stays as it stands, so a language text can never make the format read an argument it lacks.
std::string FormatWithOneString(const std::string& format, const std::string& argument);

} // namespace velmora
