#include "encoder/FFmpegPointers.h"

#include "encoder/EncoderError.h"

namespace velmora::encoder {

FramePtr MakeFrame() {
    FramePtr frame(av_frame_alloc());
    if (!frame)
        throw EncoderError("Out of memory allocating a frame");
    return frame;
}

PacketPtr MakePacket() {
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        throw EncoderError("Out of memory allocating a packet");
    return packet;
}

} // namespace velmora::encoder
