#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

// The encoder under test, as CMake built it (environment variable VELMORA_LIBQ7Z).
std::string EncoderPath();

struct EncoderResult {
    int exitCode = -1;
    std::string errorText;        // all it wrote to standard error
    bool timedOut = false;        // killed after the time limit
    double seconds = 0;           // from start to exit
    double secondsAfterQuit = -1; // from the "quit" line to exit, when one was sent
    int signal = 0;               // the signal that ended it, if one did
    double peakMiB = 0;           // its peak resident memory (ru_maxrss)
};

// The last line the encoder wrote to standard error.
std::string LastErrorLine(const EncoderResult& result);

struct EncoderRunOptions {
    // Asked with the standard error text so far; "quit" goes to the encoder once it answers true.
    std::function<bool(const std::string&)> quitWhen = {};
    // Closes standard input at once (end of input, not a stop request).
    bool closeInput = false;
    // Sends "quit" before the encoder has read anything.
    bool quitAtStart = false;
    double timeLimitSeconds = 120;
    // Words before the encoder's path: a program that starts it, such as a shell.
    std::vector<std::string> launcher;
};

// Standard input at its end from the start, as when nothing will ever ask for a stop.
EncoderRunOptions InputClosed(double timeLimitSeconds = 120);

// Runs libq7z with the words after its name, as the desktop program does: its own standard input,
// standard error captured. Under AddressSanitizer the child keeps a small quarantine, so that its peak
// memory is the program's rather than the checker's.
EncoderResult RunEncoder(const std::vector<std::string>& words, const EncoderRunOptions& options = {});

// Runs a program from PATH (ffmpeg, ffprobe) and returns its standard output; standard error goes to
// `errorText` when given. Throws when it cannot start or exits with an error.
std::string RunTool(const std::vector<std::string>& words, std::string* errorText = nullptr);

} // namespace velmora::test
