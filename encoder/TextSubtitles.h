#pragma once

#include "encoder/DialogueStyles.h"
#include "encoder/FFmpeg.h"
#include "encoder/SubtitleGeometry.h"

#include <vector>

struct ass_library;
struct ass_renderer;
struct ass_track;
struct ass_image;

namespace velmora::encoder {

class SubtitleCue;

// Text subtitles (SubRip, ASS/SSA, WebVTT, MP4 timed text, as FFmpeg's decoders turn them into ASS
// events) drawn by libass with the fonts the source carries, else the system's.
class TextSubtitles {
public:
    // `decoder` gives the ASS header; `format` and `sourceFonts` (a video beside a subtitle file) the
    // fonts attached.
    TextSubtitles(const AVCodecContext& decoder, const AVFormatContext& format,
                  const SubtitleGeometry& geometry, const AVFormatContext* sourceFonts = nullptr);
    ~TextSubtitles();
    TextSubtitles(const TextSubtitles&) = delete;
    TextSubtitles& operator=(const TextSubtitles&) = delete;

    void Add(const SubtitleCue& cue);
    // Counts the styles of cues read ahead (a whole file), before any is added: the text size is then
    // judged from all of them at once.
    void Foresee(const SubtitleCue& cue);
    // Draws what is on at `time` (microseconds on the output's clock) onto a YUV 4:2:0 frame.
    void Draw(AVFrame& frame, int64_t time);

private:
    // Whether the image at `milliseconds` may differ from the one last rendered.
    bool MayHaveChanged(long long milliseconds);
    // Judges the font scale again when the cue changes the leading dialogue style.
    void CountStyles(const SubtitleCue& cue);

    SubtitleGeometry geometry_;
    DialogueStyles styles_;
    bool foreseen_ = false;

    ass_library* library_ = nullptr;
    ass_renderer* renderer_ = nullptr;
    ass_track* track_ = nullptr;
    ass_image* images_ = nullptr; // the last rendering; valid until the next
    std::vector<int> shown_;      // the events it shows
    bool shownMoves_ = false;     // one of them is animated
    std::vector<int> active_;
};

} // namespace velmora::encoder
