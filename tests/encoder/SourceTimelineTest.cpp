#include "encoder/SourceTimeline.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace velmora::encoder {
namespace {

// A source of a picture stream (0) and a sound stream (1), both timed in milliseconds.
struct TwoStreams {
    TwoStreams() : format(avformat_alloc_context()) {
        for (AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
            AVStream* stream = avformat_new_stream(format.get(), nullptr);
            stream->time_base = {1, 1000};
            stream->codecpar->codec_type = type;
        }
    }
    struct Free {
        void operator()(AVFormatContext* context) const { avformat_free_context(context); }
    };
    std::unique_ptr<AVFormatContext, Free> format;
};

struct Step {
    int stream;
    int64_t dts; // ms; the packet's pts is the same unless `pts` says otherwise
    int64_t duration;
    int64_t mendedDts;
    int64_t pts = AV_NOPTS_VALUE;
    int64_t mendedPts = AV_NOPTS_VALUE;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

// Pictures every 40 ms and sound packets every 40 ms from `start`, interleaved, from `from` to `to` ms.
void Interleave(std::vector<Step>& steps, int64_t from, int64_t to, int64_t shift, int64_t mendedShift) {
    for (int64_t time = from; time < to; time += 40)
        for (int stream : {0, 1})
            steps.push_back({stream, time + shift, 40, time + mendedShift});
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    Case steady{"SteadyTimesStayAsTheyAre", {}};
    Interleave(steady.steps, 0, 2000, 0, 0);
    cases.push_back(steady);

    // Two recordings joined: the second starts 600 s (or a 33-bit wrap) away and carries on from the first.
    for (int64_t jump : {600'000LL, -600'000LL, 95'443'717LL}) {
        Case joined{jump > 0 ? "JumpForwardCarriesOn" : "JumpBackCarriesOn", {}};
        if (jump == 95'443'717LL)
            joined.name = "WrapCarriesOn";
        Interleave(joined.steps, 0, 1000, 0, 0);
        Interleave(joined.steps, 1000, 2000, jump, 0);
        cases.push_back(joined);
    }

    // One damaged packet far off: it is put in place, and the stream goes on as before.
    Case outlier{"SingleDamagedTimeIsPutInPlace", {}};
    Interleave(outlier.steps, 0, 1000, 0, 0);
    outlier.steps.push_back({0, 1000 + 2'000'000, 40, 1000});
    outlier.steps.push_back({0, 1040, 40, 1040});
    outlier.steps.push_back({1, 1000, 40, 1000});
    cases.push_back(outlier);

    // A still picture over its sound: the next picture comes a minute later, as the sound does.
    Case still{"GapCoveredByTheOtherStreamStays", {}};
    still.steps.push_back({0, 0, 60'000, 0});
    for (int64_t time = 0; time < 60'000; time += 500)
        still.steps.push_back({1, time, 500, time});
    still.steps.push_back({0, 60'000, 40, 60'000});
    cases.push_back(still);

    // Sound that starts far from the picture joins it.
    Case lateSound{"StreamStartingFarAwayJoinsTheOthers", {}};
    lateSound.steps.push_back({0, 0, 40, 0});
    lateSound.steps.push_back({0, 40, 40, 40});
    lateSound.steps.push_back({1, 3'000'000, 40, 40});
    lateSound.steps.push_back({1, 3'000'040, 40, 80});
    cases.push_back(lateSound);

    // A presentation time far from its decoding time is dropped.
    Case badPts{"WildPresentationTimeIsDropped", {}};
    badPts.steps.push_back({0, 0, 40, 0, 80, 80});
    badPts.steps.push_back({0, 40, 40, 40, 900'000, AV_NOPTS_VALUE});
    cases.push_back(badPts);
    return cases;
}

TEST(SourceTimeline, MendsJumpsAndLeavesContinuousTimesAlone) {
    for (const Case& test : Cases()) {
        SCOPED_TRACE(test.name);
        TwoStreams source;
        SourceTimeline timeline(*source.format);
        for (size_t i = 0; i < test.steps.size(); ++i) {
            const Step& step = test.steps[i];
            AVPacket* packet = av_packet_alloc();
            packet->stream_index = step.stream;
            packet->dts = step.dts;
            packet->pts = step.pts == AV_NOPTS_VALUE ? step.dts : step.pts;
            packet->duration = step.duration;
            timeline.Mend(packet);
            EXPECT_EQ(packet->dts, step.mendedDts) << "packet " << i;
            int64_t pts = step.pts == AV_NOPTS_VALUE ? step.mendedDts : step.mendedPts;
            EXPECT_EQ(packet->pts, pts) << "packet " << i;
            av_packet_free(&packet);
        }
    }
}

} // namespace
} // namespace velmora::encoder
