#pragma once

#include "encoder/BoundedQueue.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/InputSource.h"
#include "encoder/JobControl.h"
#include "encoder/PspMuxer.h"
#include "encoder/SubtitleRenderer.h"
#include "encoder/VideoFilterGraph.h"
#include "encoder/VideoProgress.h"

namespace velmora::encoder {

// The stages of a video job, each run on a thread of its own and joined by bounded queues:
// read packets -> decode pictures -> filter to output frames -> encode and write. Each stage closes
// its output queue when its input has ended; after a stop each drops what is still queued.

// Reads the source and hands each packet to its stream's queue. `audio` may be null.
void ReadPackets(InputSource& source, BoundedQueue<PacketPtr>& video, BoundedQueue<PacketPtr>* audio,
                 const JobControl& control);

// Decodes pictures and puts them on the output's clock: timestamps from the first picture's time,
// rising, each with a duration.
void DecodeVideo(AVCodecContext& decoder, const InputSource& source, BoundedQueue<PacketPtr>& packets,
                 BoundedQueue<FramePtr>& pictures, const JobControl& control);

// Makes output frames of the pictures. The last picture lasts its duration, within what the source
// reaches and at least as long as sound already written.
void FilterVideo(VideoFilterGraph& filters, const InputSource& source, const VideoProgress& progress,
                 BoundedQueue<FramePtr>& pictures, BoundedQueue<FramePtr>& frames, const JobControl& control);

// Draws the subtitles onto each output frame, whose timestamps count in `timeBase`.
void BurnSubtitles(SubtitleRenderer& subtitles, AVRational timeBase, BoundedQueue<FramePtr>& frames,
                   BoundedQueue<FramePtr>& burnt, const JobControl& control);

// Numbers the frames at the output rate, encodes them and writes them as stream 0. At `frameLimit`
// frames (0: none) the output ends and the rest of the source is left unread.
void EncodeVideo(AVCodecContext& encoder, BoundedQueue<FramePtr>& frames, PspMuxer& muxer,
                 VideoProgress& progress, JobControl& control, int64_t frameLimit);

} // namespace velmora::encoder
