#include "encoder/ThumbnailJob.h"

#include "encoder/EncoderError.h"
#include "encoder/EncoderSetup.h"
#include "encoder/FilterSettings.h"
#include "encoder/InputSource.h"
#include "encoder/OutputFile.h"
#include "encoder/StillPicture.h"
#include "encoder/VideoFilterGraph.h"

namespace velmora::encoder {
namespace {

FramePtr FirstPicture(InputSource& source, AVCodecContext& decoder, const std::string& path) {
    // A decoder that reorders pictures holds the first back until it has decoded several more. Draining
    // it after the first key frame gives that picture at once; an interlaced source keeps to the plain
    // way, as a key packet there may hold only one field of the picture.
    const bool drainAfterKeyFrame = !source.VideoIsInterlaced();
    FramePtr picture = MakeFrame();
    PacketPtr packet = MakePacket();
    while (source.ReadPacket(packet.get())) {
        // Damaged packets are passed over; the first picture that decodes is the one.
        bool key = packet->flags & AV_PKT_FLAG_KEY;
        avcodec_send_packet(&decoder, packet.get());
        av_packet_unref(packet.get());
        if (avcodec_receive_frame(&decoder, picture.get()) >= 0)
            return picture;
        if (key && drainAfterKeyFrame) {
            avcodec_send_packet(&decoder, nullptr);
            if (avcodec_receive_frame(&decoder, picture.get()) >= 0)
                return picture;
            avcodec_flush_buffers(&decoder);
        }
    }
    avcodec_send_packet(&decoder, nullptr);
    if (avcodec_receive_frame(&decoder, picture.get()) >= 0)
        return picture;
    throw EncoderError("No picture could be decoded from '" + path + "'");
}

void WriteFile(const std::string& path, const AVPacket& packet) {
    OutputIdentity written;
    std::unique_ptr<DescriptorIO> file = ReplaceOutput(path, &written);
    avio_write(file->Context(), packet.data, packet.size);
    ExpectOutputAtName(path, written);
    file->Close("Cannot write output '" + path + "'");
}

} // namespace

void RunThumbnailJob(const ThumbnailJobSettings& settings) {
    InputSource source(settings.source, InputSource::Audio::Skipped, InputSource::Probe::Quick);
    // One thread: frame threads would hold the first picture back until several were decoded.
    CodecContextPtr decoder = OpenDecoder(source.VideoStream(), 1);
    // At a fraction of the picture's size the deblocking filter would not show.
    decoder->skip_loop_filter = AVDISCARD_ALL;
    FramePtr picture = FirstPicture(source, *decoder, settings.source);
    picture->sample_aspect_ratio =
        av_guess_sample_aspect_ratio(source.Format(), source.VideoStream(), picture.get());
    picture->pts = 0;

    const VideoFilterSettings filterSettings =
        FilterSettingsFor(source, PictureUse::Thumbnail, settings.width, settings.height,
                          CropWanted(settings.crop, settings.source).crop);
    VideoFilterGraph filters(filterSettings, source.VideoStream()->time_base);
    filters.Push(picture.get());
    filters.Finish(1);
    FramePtr thumbnail = MakeFrame();
    if (!filters.Pull(thumbnail.get()))
        throw EncoderError("Cannot scale the first picture of '" + settings.source + "'");

    CodecContextPtr encoder = OpenThumbnailEncoder(settings.width, settings.height);
    thumbnail->pts = 0;
    thumbnail->quality = encoder->global_quality;
    thumbnail->pict_type = AV_PICTURE_TYPE_I;
    Check(avcodec_send_frame(encoder.get(), thumbnail.get()), "Cannot encode the thumbnail");
    Check(avcodec_send_frame(encoder.get(), nullptr), "Cannot encode the thumbnail");
    PacketPtr packet = MakePacket();
    Check(avcodec_receive_packet(encoder.get(), packet.get()), "Cannot encode the thumbnail");
    WriteFile(settings.output, *packet);
}

} // namespace velmora::encoder
