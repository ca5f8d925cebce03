#include "encoder/JobControl.h"

namespace velmora::encoder {

void JobControl::Fail(std::exception_ptr error) {
    {
        std::lock_guard lock(mutex_);
        if (firstError_)
            return;
        firstError_ = std::move(error);
        failed_ = true;
    }
    for (const auto& abort : aborts_)
        abort();
}

void JobControl::RethrowFailure() {
    std::lock_guard lock(mutex_);
    if (firstError_)
        std::rethrow_exception(firstError_);
}

void JobControl::RunGuarded(const std::function<void()>& stage) {
    try {
        stage();
    } catch (...) {
        Fail(std::current_exception());
    }
}

} // namespace velmora::encoder
