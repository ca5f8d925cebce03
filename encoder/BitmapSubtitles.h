#pragma once

#include "encoder/FFmpegPointers.h"
#include "encoder/SubtitleGeometry.h"

#include <deque>
#include <vector>

namespace velmora::encoder {

class SubtitleCue;

// Picture subtitles (Blu-ray PGS, DVD, DVB): each cue's palette pictures scaled as the picture is
// scaled and laid over it at their place while the cue is on. Only the cues on now or next are kept.
class BitmapSubtitles {
public:
    explicit BitmapSubtitles(const SubtitleGeometry& geometry);

    // Cues come in order; each ends, at the latest, where the next begins.
    void Add(SubtitleCue cue);
    // Draws what is on at `time` (microseconds on the output's clock) onto a YUV 4:2:0 frame.
    void Draw(AVFrame& frame, int64_t time);

private:
    struct Overlay {
        FramePtr picture; // YUVA 4:2:0, scaled
        int left = 0;
        int top = 0;
    };
    struct Shown {
        int64_t start = 0;
        int64_t end = AV_NOPTS_VALUE;
        std::vector<Overlay> overlays;
    };
    Shown Prepare(const SubtitleCue& cue) const;

    SubtitleGeometry geometry_;
    std::deque<Shown> cues_;
};

} // namespace velmora::encoder
