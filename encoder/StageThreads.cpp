#include "encoder/StageThreads.h"

#include "encoder/EncoderError.h"

namespace velmora::encoder {

StageThreads::~StageThreads() {
    // Left by an exception, for one while starting the threads: the ones running must not wait on
    // stages that never started.
    if (std::uncaught_exceptions() > uncaught_)
        control_.Fail(std::make_exception_ptr(EncoderError("The encoding was interrupted")));
    JoinAll();
}

void StageThreads::Start(std::function<void()> stage) {
    threads_.emplace_back([this, stage = std::move(stage)] { control_.RunGuarded(stage); });
}

void StageThreads::JoinAll() {
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
}

} // namespace velmora::encoder
