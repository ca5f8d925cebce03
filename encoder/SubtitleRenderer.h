#pragma once

#include "encoder/FFmpeg.h"
#include "encoder/SubtitleGeometry.h"
#include "encoder/TrackPreferences.h"

#include <deque>
#include <memory>
#include <string>

namespace velmora::encoder {

class BitmapSubtitles;
class ConsoleStream;
class SubtitleCue;
class SubtitleReader;
class TextSubtitles;

// Draws the chosen subtitles onto the output frames, each at its time on the source's timeline.
class SubtitleRenderer {
public:
    // `startTime`: the source's first picture in microseconds, the output's zero. Throws EncoderError
    // when the subtitles cannot be read. A file beside the source is read whole here, so that a file
    // that cannot be parsed is known before the job.
    SubtitleRenderer(const std::string& sourcePath, const SubtitleSource& chosen,
                     const SubtitleGeometry& geometry, int64_t startTime);
    ~SubtitleRenderer();
    SubtitleRenderer(const SubtitleRenderer&) = delete;
    SubtitleRenderer& operator=(const SubtitleRenderer&) = delete;

    // Null when none are chosen, or, with a line on `console`, when they cannot be read: the video is
    // then made without.
    static std::unique_ptr<SubtitleRenderer> Open(const std::string& sourcePath, const SubtitleSource& chosen,
                                                  const SubtitleGeometry& geometry, int64_t startTime,
                                                  ConsoleStream& console);

    // Draws onto a YUV 4:2:0 frame whose timestamp counts in `timeBase` from the output's zero.
    void Draw(AVFrame& frame, AVRational timeBase);

private:
    void TakeCuesUntil(int64_t time);

    std::unique_ptr<SubtitleReader> reader_;
    std::deque<SubtitleCue> ahead_; // read, not yet started
    std::unique_ptr<TextSubtitles> text_;
    std::unique_ptr<BitmapSubtitles> bitmaps_;
};

// The geometry of an output frame of width x height that shows the source's picture, cropped to `crop`.
SubtitleGeometry GeometryFor(const AVFormatContext& format, const AVStream& video, int rotation, int width,
                             int height, const std::optional<CropRect>& crop = std::nullopt);

} // namespace velmora::encoder
