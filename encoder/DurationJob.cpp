#include "encoder/DurationJob.h"

#include "encoder/InputSource.h"

#include <cstdio>

namespace velmora::encoder {

void RunDurationJob(const DurationJobSettings& settings) {
    const InputSource source(settings.source, InputSource::Audio::Skipped);
    std::printf("%.3f\n", source.DurationSeconds());
    std::fflush(stdout);
}

} // namespace velmora::encoder
