// The demo's media: a few short AVI files it writes on first run with the library's own
// writer (uncompressed and MJPEG video, one with a silent sound track), and a clip reader that
// finds a file's video frames with the library's reader and decodes them with the picture
// decoder.
#pragma once

#include "avi/AviParser.h"
#include "platform/base/CString.h"
#include "platform/gdiplus/Gdiplus.h"

#include <memory>
#include <string>
#include <vector>

namespace demo {

// Writes the sample files into `folder` (made when missing) unless they are there already;
// answers their paths, those that could not be written left out.
std::vector<std::string> MakeSampleMedia(const std::string& folder);

// One AVI file opened for showing its first video stream.
class AviClip
{
public:
    bool Open(const std::string& path);
    bool IsOpen() const { return m_open; }
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    // Milliseconds a frame stays, from the stream's rate (at least 1).
    int FrameMs() const;
    int LengthMs() const;
    // Where frame k starts, and the frame shown at `ms`, from the exact rate.
    int MsOfFrame(int k) const;
    int FrameAtMs(int ms) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // "video 160x120 MJPG, audio"
    CString Streams() const;
    // Frame k decoded, or null when it cannot be read or decoded.
    std::unique_ptr<Gdiplus::Bitmap> Frame(int k);

private:
    mmAviParser m_parser;
    bool m_open = false;
    std::vector<int> m_frames; // packet numbers of the video frames, in order
    DWORD m_scale = 1;
    DWORD m_rate = 25;
    int m_width = 0;
    int m_height = 0;
    int m_bitCount = 0;
    DWORD m_compression = 0;
    int m_audioStreams = 0;
};

// "1:05.3" from milliseconds: minutes, seconds and tenths.
CString FormatDuration(int ms);

} // namespace demo
