// A stand-in for libq7z in the run driver's tests, installed as "libq7z" in a temporary program folder.
// It appends one line per call to calls.log beside itself, tab-separated:
//   <pid> <thumb|video> <placeholder:yes|no> <every argument after the program>
// and then acts on the directives in its source file (blank-separated):
//   duration=H:M:S.F  the duration marker it prints (default 00:00:10.00); duration=none prints none
//   time=S            one time marker; any number of them, printed in order after the duration
//   hold              the video call waits for the line "quit" on standard input before it ends
//   thumb-hold        the thumbnail call does the same
//   deaf              the video call ignores its input and never ends by itself
//   video-fails       the video call prints "libq7z: no video today" and exits with 1
//   thumb-fails       the thumbnail call prints "libq7z: no picture today" and exits with 1
//   dolby-vision-5        the video call prints the colour-note marker: the colours may be wrong
//   video-unlinks     the video call removes its output after writing it, and still exits with 0
//   subtitles-unreadable  the video call prints a sidecar's and a stream's could-not-be-read lines
//   probe=WORDS       a line the probe prints, '_' standing for a blank; any number of them, in order
// A probe (-probe [words] SOURCE) is logged as "probe"; without probe= it prints "duration 10.000".
// The markers go to standard error, separated by carriage returns as the real encoder writes them.
// The output file (after -y) gets "thumbnail of <source>" or "video of <source>", plus " stopped" when a
// quit line ended it. An empty or unreadable source is a one-line error and exit code 1.
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ValueAfter(const std::vector<std::string>& words, const std::string& option) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i] == option)
            return words[i + 1];
    return std::string();
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    for (const std::string& each : words)
        if (each == word)
            return true;
    return false;
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// True when a "quit" line came, false at the end of the input.
bool WaitForQuit() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            return true;
    }
    return false;
}

void Log(const std::string& self, const std::string& line) {
    const std::string folder = self.substr(0, self.rfind('/') + 1);
    std::ofstream(folder + "calls.log", std::ios::app) << line << '\n';
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const bool probe = !words.empty() && words.front() == "-probe";
    const bool thumbnail = Contains(words, "-vcodec");
    const std::string source = probe ? words.back() : ValueAfter(words, "-i");
    const std::string output = ValueAfter(words, "-y");

    const char* kind = probe ? "probe" : thumbnail ? "thumb" : "video";
    std::string line = std::to_string(getpid()) + '\t' + kind + '\t' +
                       (ReadAll(output) == "temp\r\n" ? "placeholder:yes" : "placeholder:no");
    for (const std::string& word : words)
        line += '\t' + word;
    Log(argv[0], line);

    std::ifstream sourceFile(source, std::ios::binary);
    if (source.empty() || !sourceFile) {
        std::cerr << "libq7z: cannot open the source '" << source << "'" << std::endl;
        return 1;
    }
    std::vector<std::string> directives;
    for (std::string directive; sourceFile >> directive;)
        directives.push_back(directive);
    if (probe) {
        std::string answer;
        for (std::string directive : directives)
            if (directive.rfind("probe=", 0) == 0) {
                std::replace(directive.begin(), directive.end(), '_', ' ');
                answer += directive.substr(6) + '\n';
            }
        std::cout << (answer.empty() ? "duration 10.000\n" : answer);
        return 0;
    }

    bool hold = Contains(directives, thumbnail ? "thumb-hold" : "hold");
    if (!thumbnail) {
        std::string duration = "00:00:10.00";
        std::string markers;
        for (const std::string& directive : directives) {
            if (directive.rfind("duration=", 0) == 0)
                duration = directive.substr(9);
            if (directive.rfind("time=", 0) == 0)
                markers += "ffmpeg_release_time=" + directive.substr(5) + "=ffmpeg_release_time\r";
        }
        if (duration != "none")
            markers = "ffmpeg_release_duration=" + duration + "=ffmpeg_release_duration\r" + markers;
        std::cerr << "libq7z test encoder\n" << markers << std::flush;
        if (Contains(directives, "dolby-vision-5"))
            std::cerr << "ffmpeg_release_colour_note=Dolby Vision profile 5: colours may be "
                         "wrong=ffmpeg_release_colour_note\n";
        if (Contains(directives, "unmeasured"))
            std::cerr << "ffmpeg_release_loudness=unmeasured=ffmpeg_release_loudness\r";
        if (Contains(directives, "subtitles-unreadable"))
            std::cerr
                << "ffmpeg_release_subtitle_note=Sidecar 'a.fr.srt' could not be read: bad "
                   "bytes=ffmpeg_release_subtitle_note\nlibq7z: Sidecar 'b.srt' could not be read: prose\n"
                   "ffmpeg_release_subtitle_note=Subtitle stream 2 could not be read: broken; the video "
                   "is made without subtitles=ffmpeg_release_subtitle_note\n";
    }
    if (Contains(directives, thumbnail ? "thumb-fails" : "video-fails")) {
        std::cerr << "libq7z: no " << (thumbnail ? "picture" : "video") << " today\n" << std::flush;
        return 1;
    }
    if (!thumbnail && Contains(directives, "deaf"))
        for (;;)
            pause();
    const bool stopped = hold && WaitForQuit();
    std::ofstream(output, std::ios::binary | std::ios::trunc)
        << (thumbnail ? "thumbnail of " : "video of ") << source << (stopped ? " stopped" : "");
    if (!thumbnail && Contains(directives, "video-unlinks"))
        unlink(output.c_str());
    return 0;
}
