// Which libavcodec decoder reads an AVI stream: from a video stream's FourCC (the format's
// biCompression, else the stream header's handler) and an audio stream's WAVE format tag.
#pragma once

#include <cstdint>

namespace player {

// AVCodecID values, kept as int so that callers need no FFmpeg header; 0 is "none".
int VideoCodecOf(std::uint32_t compression, std::uint32_t handler);
// `subFormat` is the first two bytes of a WAVE_FORMAT_EXTENSIBLE sub-format GUID (0 when the
// format is not extensible); `bits` tells the PCM kinds apart.
int AudioCodecOf(std::uint16_t formatTag, std::uint16_t subFormat, int bits);
// "MJPEG", "H.264", "PCM" ... for the playlist; "?" when unknown.
const char* CodecName(int codecId);

} // namespace player
