#pragma once

#include <functional>
#include <string>
#include <thread>

namespace velmora::encoder {

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
