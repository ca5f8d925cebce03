#include "encoder/VideoJob.h"

#include "encoder/AudioTranscoder.h"
#include "encoder/EncoderError.h"
#include "encoder/EncoderSetup.h"
#include "encoder/FilterSettings.h"
#include "encoder/InputSource.h"
#include "encoder/LoudnessMeasurement.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/ProgressReporter.h"
#include "encoder/PspMuxer.h"
#include "encoder/StageThreads.h"
#include "encoder/StillPicture.h"
#include "encoder/StopLineWatcher.h"
#include "encoder/TrackChoice.h"
#include "encoder/VideoStages.h"

#include <cstdio>
#include <thread>

namespace velmora::encoder {
namespace {

// On two cores the source's decoder runs alone on its stage thread: frame threads would cost more
// cycles than they save while the other stages keep the second core busy. With more cores to spare,
// it takes FFmpeg's own choice.
int VideoDecoderThreads() {
    return std::thread::hardware_concurrency() <= 2 ? 1 : 0;
}

// Queue depths: enough to ride out the stages' uneven pace, small enough to keep memory low.
constexpr size_t kPacketQueue = 256;
constexpr size_t kPictureQueue = 8;
constexpr size_t kFrameQueue = 32;

// A source whose sound cannot be decoded still converts, with a silent track.
CodecContextPtr OpenAudioDecoder(const InputSource& source, ConsoleStream& console) {
    if (!source.AudioStream())
        return nullptr;
    try {
        return OpenDecoder(source.AudioStream(), 1);
    } catch (const EncoderError& error) {
        console.Line(std::string(error.what()) + "; the sound will be silent");
        return nullptr;
    }
}

std::string Describe(const VideoJobSettings& settings, const AVCodecContext& audio) {
    char text[256];
    std::snprintf(
        text, sizeof text, "H.264 Main %dx%d at %.2f fps, %d kbit/s; AAC-LC %d Hz, %d channel(s), %d kbit/s",
        settings.width, settings.height, static_cast<double>(settings.frameRate.num) / settings.frameRate.den,
        settings.videoBitrate / 1000, audio.sample_rate, audio.ch_layout.nb_channels,
        static_cast<int>(audio.bit_rate / 1000));
    return text;
}

// The output ends within a second after the length the source states, whatever its timestamps say.
int64_t FrameLimit(double statedSeconds, FrameRate rate) {
    if (statedSeconds <= 0)
        return 0;
    constexpr double kAllowanceSeconds = 0.9;
    return static_cast<int64_t>((statedSeconds + kAllowanceSeconds) * rate.num / rate.den);
}

std::string CropNote(const AVStream& video, const CropRect& crop) {
    char text[160];
    std::snprintf(text, sizeof text, "Black bars cropped: %dx%d to %dx%d at %d,%d", video.codecpar->width,
                  video.codecpar->height, crop.width, crop.height, crop.left, crop.top);
    return text;
}

// Sent as a colour-note marker, which the run's report reads by its tags.
constexpr const char* kColoursMayBeWrong =
    "Dolby Vision profile 5: colours may be wrong, as its reshaping metadata cannot be applied";

} // namespace

void RunVideoJob(const VideoJobSettings& settings, ConsoleStream& console, int stopSignals) {
    InputSource source(settings.source, InputSource::Audio::Wanted);
    const TrackChoice tracks = ChooseTracks(*source.Format(), settings.source, settings.tracks);
    source.UseAudioStream(tracks.audioStreamIndex);
    for (const std::string& note : tracks.notes)
        console.Write(SubtitleNoteMarker(note));
    const double duration = source.DurationSeconds();
    console.Write(DurationMarker(duration));

    CodecContextPtr videoDecoder = OpenDecoder(source.VideoStream(), VideoDecoderThreads());
    CodecContextPtr audioDecoder = OpenAudioDecoder(source, console);
    PspMuxer muxer;
    CodecContextPtr videoEncoder = OpenVideoEncoder(settings, muxer.NeedsGlobalHeaders());
    CodecContextPtr audioEncoder = OpenAudioEncoder(settings, muxer.NeedsGlobalHeaders());
    console.Line(Describe(settings, *audioEncoder));
    // The file is written from the first encoded picture on: a job that ends before leaves it as it was.
    muxer.Prepare(settings.output, TitleOf(settings.source), *videoEncoder, *audioEncoder);

    const VideoFilterSettings filterSettings =
        FilterSettingsFor(source, PictureUse::Video, settings.width, settings.height,
                          CropWanted(settings.crop, settings.source).crop,
                          AVRational{settings.frameRate.num, settings.frameRate.den});
    if (filterSettings.crop)
        console.Line(CropNote(*source.VideoStream(), *filterSettings.crop));
    if (ColoursMayBeWrong(filterSettings.colour))
        console.Write(ColourNoteMarker(kColoursMayBeWrong));
    VideoFilterGraph filters(filterSettings, source.VideoStream()->time_base);
    std::unique_ptr<SubtitleRenderer> subtitles = SubtitleRenderer::Open(
        settings.source, tracks.subtitles,
        GeometryFor(*source.Format(), *source.VideoStream(), filterSettings.rotation, settings.width,
                    settings.height, filterSettings.crop),
        av_rescale_q(source.VideoStartTime(), source.VideoStream()->time_base, AV_TIME_BASE_Q), console);

    JobControl control;
    VideoProgress progress(settings.frameRate);
    const int64_t frameLimit = FrameLimit(source.DurationIsGuessed() ? 0 : duration, settings.frameRate);
    BoundedQueue<PacketPtr> videoPackets(kPacketQueue);
    BoundedQueue<PacketPtr> audioPackets(kPacketQueue);
    BoundedQueue<FramePtr> pictures(kPictureQueue);
    BoundedQueue<FramePtr> frames(kFrameQueue);
    BoundedQueue<FramePtr> burnt(kPictureQueue);
    control.OnAbort([&] {
        videoPackets.Abort();
        audioPackets.Abort();
        pictures.Abort();
        frames.Abort();
        burnt.Abort();
        progress.Abort();
    });
    AVStream* audioStream = audioDecoder ? source.AudioStream() : nullptr;
    const AudioFilterSettings sound =
        LevelSound(settings, *audioEncoder, audioStream, duration, console, stopSignals);
    AudioTranscoder audio(*audioEncoder, muxer, progress, control, settings.frameRate, sound);
    int64_t audioStart = audioStream ? av_rescale_q(source.VideoStartTime(), source.VideoStream()->time_base,
                                                    audioStream->time_base)
                                     : 0;
    {
        StopLineWatcher stopLine(stopSignals, [&control] { control.RequestStop(); });
        ProgressReporter reporter(console, progress);
        StageThreads threads(control);
        threads.Start(
            [&] { ReadPackets(source, videoPackets, audioStream ? &audioPackets : nullptr, control); });
        threads.Start([&] { DecodeVideo(*videoDecoder, source, videoPackets, pictures, control); });
        threads.Start([&] { FilterVideo(filters, source, progress, pictures, frames, control); });
        if (subtitles)
            threads.Start(
                [&] { BurnSubtitles(*subtitles, filters.OutputTimeBase(), frames, burnt, control); });
        BoundedQueue<FramePtr>& finished = subtitles ? burnt : frames;
        threads.Start([&] { EncodeVideo(*videoEncoder, finished, muxer, progress, control, frameLimit); });
        if (audioStream)
            threads.Start(
                [&] { audio.Transcode(*audioDecoder, audioStream->time_base, audioStart, audioPackets); });
        else
            threads.Start([&] { audio.WriteSilence(); });
        threads.JoinAll();
        reporter.Stop();
    }
    control.RethrowFailure();

    int64_t frameCount = progress.Current().frames;
    if (frameCount == 0 || !muxer.Started())
        throw EncoderError(control.StoppedByCaller()
                               ? "Stopped before any picture was written; '" + settings.output +
                                     "' is left as it was"
                               : "No picture could be decoded from '" + settings.source + "'");
    muxer.Finish();
    console.Write(TimeMarker(progress.Seconds()) + "\n");
    console.Line(std::to_string(frameCount) + " frames written" +
                 (control.StoppedByCaller() ? ", stopped on request" : ""));
}

} // namespace velmora::encoder
