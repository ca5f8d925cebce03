#include "encoder/LoudnessMeasurement.h"

#include "encoder/EncoderError.h"
#include "encoder/InputSource.h"
#include "encoder/LocalSource.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/SoundGraph.h"
#include "encoder/StopLineWatcher.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velmora::encoder {
namespace {

// The meter with its mix-down, built for the first decoded samples.
class LoudnessMeter {
public:
    LoudnessMeter(const AudioFilterSettings& settings, const AVFrame& first)
        : graph_(BuildSoundGraph(first, AVRational{1, first.sample_rate},
                                 MeasuringFilterChain(settings) + ",ebur128=metadata=1", "loudness meter")) {
        shape_.Take(first, "loudness meter");
    }

    bool Accepts(const AVFrame& samples) const { return shape_.Matches(samples); }
    // Null: the end.
    void Push(AVFrame* samples) {
        Check(av_buffersrc_add_frame_flags(graph_.source, samples, 0), "Cannot measure the sound");
        FramePtr out = MakeFrame();
        while (av_buffersink_get_frame(graph_.sink, out.get()) >= 0) {
            // The meter writes the loudness integrated so far on every block it passes on.
            if (const AVDictionaryEntry* entry = av_dict_get(out->metadata, "lavfi.r128.I", nullptr, 0))
                integrated_ = std::strtod(entry->value, nullptr);
            av_frame_unref(out.get());
        }
    }
    std::optional<double> Integrated() const { return integrated_; }

private:
    SoundGraph graph_;
    SoundShape shape_;
    std::optional<double> integrated_;
};

std::string Decibels(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f", value);
    return text;
}

} // namespace

std::optional<double> MeasureLoudness(const std::string& path, const AVStream& audio,
                                      const AudioFilterSettings& settings,
                                      const std::function<void(double)>& measured,
                                      const std::atomic<bool>& stop) {
    // A reader of its own, so that the conversion's reader starts at the beginning with its timeline.
    LocalSource local(path);
    AVFormatContext* format = local.Format();
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = static_cast<int>(i) == audio.index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    CodecContextPtr decoder = OpenDecoder(&audio, 1);
    std::unique_ptr<LoudnessMeter> meter;
    PacketPtr packet = MakePacket();
    FramePtr samples = MakeFrame();
    int64_t decodedSamples = 0;
    auto reported = std::chrono::steady_clock::now();
    bool more = true;
    while (more) {
        if (stop)
            return std::nullopt;
        more = av_read_frame(format, packet.get()) >= 0;
        if (more && packet->stream_index != audio.index) {
            av_packet_unref(packet.get());
            continue;
        }
        // Damaged sound is skipped, as the conversion skips it.
        const bool sent = avcodec_send_packet(decoder.get(), more ? packet.get() : nullptr) >= 0;
        av_packet_unref(packet.get());
        while (sent && avcodec_receive_frame(decoder.get(), samples.get()) >= 0) {
            UseNativeLayout(*samples);
            if (!meter)
                meter = std::make_unique<LoudnessMeter>(settings, *samples);
            else if (!meter->Accepts(*samples))
                throw EncoderError("the sound changes its format midway");
            decodedSamples += samples->nb_samples;
            meter->Push(samples.get());
            av_frame_unref(samples.get());
        }
        const auto now = std::chrono::steady_clock::now();
        if (meter && now - reported >= std::chrono::milliseconds(250)) {
            reported = now;
            measured(static_cast<double>(decodedSamples) / audio.codecpar->sample_rate);
        }
    }
    if (!meter)
        throw EncoderError("no sound could be decoded");
    meter->Push(nullptr);
    if (!meter->Integrated())
        throw EncoderError("the sound is too short to be measured");
    return meter->Integrated();
}

AudioFilterSettings LevelSound(const VideoJobSettings& settings, const AVCodecContext& encoder,
                               const AVStream* audio, double duration, ConsoleStream& console,
                               int stopSignals) {
    AudioFilterSettings sound;
    sound.sampleRate = encoder.sample_rate;
    sound.channels = encoder.ch_layout.nb_channels;
    sound.loudness = settings.loudness;
    // A silent track for a source without sound stays silent.
    if (settings.loudness == Loudness::AsRecorded || audio == nullptr) {
        sound.loudness = Loudness::AsRecorded;
        return sound;
    }
    std::atomic<bool> stop = false;
    std::optional<double> integrated;
    try {
        StopLineWatcher stopLine(stopSignals, [&stop] { stop = true; });
        integrated = MeasureLoudness(
            settings.source, *audio, sound, [&](double seconds) { console.Write(MeasureMarker(seconds)); },
            stop);
        if (!integrated)
            throw EncoderError("Stopped before any picture was written; '" + settings.output +
                               "' is left as it was");
    } catch (const EncoderError& error) {
        if (stop)
            throw;
        console.Line(std::string("The sound's loudness could not be measured (") + error.what() +
                     "); it keeps its recorded level");
        console.Write(LoudnessMarker(std::nullopt));
        sound.loudness = Loudness::AsRecorded;
        return sound;
    }
    // The pass's share of the bar is full, however long the sound was against the stated length.
    console.Write(MeasureMarker(duration));
    console.Write(LoudnessMarker(*integrated));
    sound.gainDecibels = GainToTarget(*integrated);
    console.Line("Sound measured at " + Decibels(*integrated) + " LUFS; gain " +
                 Decibels(sound.gainDecibels) + " dB" +
                 (sound.loudness == Loudness::Evened ? ", scenes evened" : ""));
    return sound;
}

} // namespace velmora::encoder
