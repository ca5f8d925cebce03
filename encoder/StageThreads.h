#pragma once

#include "encoder/JobControl.h"

#include <exception>
#include <functional>
#include <thread>
#include <vector>

namespace velmora::encoder {

// The threads of one job's stages. A stage's exception fails the job, and every thread is joined
// before the stages' shared objects go.
class StageThreads {
public:
    explicit StageThreads(JobControl& control) : control_(control) {}
    ~StageThreads();
    StageThreads(const StageThreads&) = delete;
    StageThreads& operator=(const StageThreads&) = delete;

    void Start(std::function<void()> stage);
    void JoinAll();

private:
    JobControl& control_;
    std::vector<std::thread> threads_;
    int uncaught_ = std::uncaught_exceptions();
};

} // namespace velmora::encoder
