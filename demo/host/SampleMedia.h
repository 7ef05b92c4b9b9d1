// The demo's media: a few short AVI files it writes on first run with the library's own
// writer (uncompressed and MJPEG video, one with a silent sound track), and a clip reader that
// plays a file's video stream through the player's decoders.
#pragma once

#include "demo/player/AviMedia.h"
#include "demo/player/VideoDecoder.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdiplus.h"

#include <memory>
#include <string>
#include <vector>

namespace demo {

// Writes the sample files into `folder` (made when missing) unless they are there already;
// answers their paths, those that could not be written left out.
std::vector<std::string> MakeSampleMedia(const std::string& folder);

// One AVI file opened for playing: its streams through the player's reader and decoders.
class AviClip
{
public:
    AviClip();
    ~AviClip();
    // False, with the reason in Problem(), when the file cannot be played.
    bool Open(const std::string& path);
    bool IsOpen() const { return m_open; }
    const std::string& Problem() const { return m_media.Problem(); }
    int FrameCount() const { return static_cast<int>(m_media.VideoPackets().size()); }
    // Milliseconds a frame stays, from the stream's rate (at least 1).
    int FrameMs() const;
    int LengthMs() const;
    // Where frame k starts, and the frame shown at `ms`, from the exact rate.
    int MsOfFrame(int k) const;
    int FrameAtMs(int ms) const;
    int Width() const { return m_media.Video().width; }
    int Height() const { return m_media.Video().height; }
    // "video 160x120 MJPG, audio pcm_s16le"
    CString Streams() const;
    // Frame k decoded at the video's own size, or null when it cannot be read or decoded.
    std::unique_ptr<Gdiplus::Bitmap> Frame(int k);
    // Frame k as the largest picture that fits w x h keeping its shape; null as above.
    std::unique_ptr<Gdiplus::Bitmap> FrameFitted(int k, int w, int h);
    // The same picture written into `picture` when that already has the fitted size, so that
    // playing allocates nothing per frame; otherwise `picture` is replaced. False, with
    // `picture` as it was, when there is no picture.
    bool FrameFittedInto(int k, int w, int h, std::unique_ptr<Gdiplus::Bitmap>& picture);
    player::AviMedia& Media() { return m_media; }

private:
    // Frame k and its fitted size; null when there is no picture to show.
    const AVFrame* FittedFrame(int k, int w, int h, player::FitRect* fit);

    player::AviMedia m_media;
    player::VideoFrames m_frames;
    bool m_open = false;
};

// "1:05.3" from milliseconds: minutes, seconds and tenths.
CString FormatDuration(int ms);

} // namespace demo
