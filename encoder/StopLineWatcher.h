#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace velmora::encoder {

// Finds the line "quit" in standard input's bytes as they come. It keeps at most one line of
// kLongestLine bytes: a longer line cannot be the stop line, so a flood without line breaks costs
// no memory.
class StopLineScanner {
public:
    static constexpr size_t kLongestLine = 256;

    // True when a complete stop line has come with these bytes.
    bool Feed(std::string_view bytes);
    // At the end of the input: true when its last line, without a line feed, is the stop line.
    bool EndsWithStopLine() const;
    size_t KeptBytes() const { return pending_.size(); }

private:
    std::string pending_;
    bool overlong_ = false; // the line being read has outgrown kLongestLine
};

// Watches standard input on a thread of its own for the line "quit", the caller's request to end
// the job early, and `stopSignals` (-1: none), readable once a stop signal came. The end of standard
// input alone is no such request.
class StopLineWatcher {
public:
    StopLineWatcher(int stopSignals, std::function<void()> onQuit);
    ~StopLineWatcher();
    StopLineWatcher(const StopLineWatcher&) = delete;
    StopLineWatcher& operator=(const StopLineWatcher&) = delete;

    // True for "quit" with any blanks or carriage return around it.
    static bool IsStopLine(const std::string& line);

private:
    void Run();

    int stopSignals_;
    std::function<void()> onQuit_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;
};

} // namespace velmora::encoder
