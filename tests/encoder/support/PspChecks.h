#pragma once

#include <string>
#include <vector>

namespace velmora::test {

// What a converted video must be.
struct PspExpectations {
    int width = 400;
    int height = 192;
    std::string frameRate = "25/1"; // as ffprobe writes it
    int level = 21;                 // 21 for level 2.1
    int sampleRate = 44100;
    int channels = 2;
    double seconds = -1; // the source's length, when known
    std::string title;   // ASCII
};

// Checks a converted video with ffprobe, its atoms and its H.264 headers: the PSP container (brand
// MSNV, PROF and USMT atoms with the title), H.264 Main at the level with at most 2 reference frames,
// 1 B-frame and one slice per picture, AAC-LC, the frame size, rate and length, and both tracks
// ending together.
void ExpectPspVideo(const std::string& path, const PspExpectations& expected);

// The markers found in what the encoder wrote to standard error.
struct ProgressMarkers {
    std::vector<std::string> durations; // the clock texts, as written
    std::vector<double> times;
    bool durationBeforeTimes = true;
};
ProgressMarkers ParseMarkers(const std::string& errorText);

// "HH:MM:SS.cc" in seconds; -1 when the text has another shape.
double ClockSeconds(const std::string& clock);

} // namespace velmora::test
