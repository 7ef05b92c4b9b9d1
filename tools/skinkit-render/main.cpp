// Renders a sample of what the painter draws (nine-sliced frames, tiles, aligned texts) into
// a PNG file: a quick look at text and image output on this machine's fonts.
#include "paint/CtrlGDIpString.h"
#include "platform/base/DeviceScale.h"
#include "platform/gdiplus/Gdi.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>

using namespace Gdiplus;

namespace {

// A 24 x 24 frame picture: a dark 4-pixel border with light corners around a gradient centre.
std::unique_ptr<Bitmap> FramePicture(Color border, Color centre)
{
    auto b = std::make_unique<Bitmap>(24, 24, PixelFormat32bppARGB);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool edge = x < 4 || y < 4 || x >= 20 || y >= 20;
            const bool corner = (x < 4 || x >= 20) && (y < 4 || y >= 20);
            Color c = corner ? Color(255, 250, 250, 250) : edge ? border : centre;
            if (!edge)
                c = Color(255, centre.GetR(), static_cast<BYTE>(centre.GetG() - y * 3),
                          centre.GetB());
            b->SetPixel(x, y, c);
        }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Render a sample of skinkit's painter output to a PNG file"};
    std::string out = "skinkit-render.png";
    std::string font = "Liberation Sans";
    app.add_option("output", out, "PNG file to write");
    app.add_option("--font", font, "font family name");
    double scale = 1.0;
    app.add_option("--scale", scale, "display scale: device pixels per logical pixel (0 to 8)");
    CLI11_PARSE(app, argc, argv);
    if (!platform::IsUsableScale(scale)) {
        std::fprintf(stderr, "skinkit-render: scale %g refused (above 0, at most 8)\n", scale);
        return 2;
    }

    // The sample is laid out in logical pixels; the picture has the device pixels of the scale.
    Bitmap canvas(platform::DeviceEdge(360, scale), platform::DeviceEdge(160, scale),
                  PixelFormat32bppARGB);
    Graphics g(&canvas);
    if (scale != 1.0)
        g.SetDeviceScale(static_cast<REAL>(scale), 0, 0);
    g.Clear(Color(255, 32, 36, 44));
    g.SetInterpolationMode(InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(PixelOffsetModeHalf);

    auto blue = FramePicture(Color(255, 20, 60, 140), Color(255, 70, 140, 220));
    auto green = FramePicture(Color(255, 20, 110, 40), Color(255, 90, 200, 110));
    CCtrlGDIpString painter(CString::FromUtf8(font), 15, FontStyleBold);
    const RECT margins{4, 4, 4, 4};

    painter.DrawBg(&g, blue.get(), Rect(10, 10, 160, 40), 2, margins);
    painter.DrawString(&g, L"Play", 10, 10, 160, 40, Color::White, StringAlignmentCenter,
                       StringAlignmentCenter);
    painter.DrawBg4(&g, green.get(), Rect(190, 10, 160, 40), 0, margins, 2.0);
    painter.DrawString(&g, L"Scaled corners", 190, 10, 160, 40, Color::Black, StringAlignmentCenter,
                       StringAlignmentCenter);
    painter.DrawBg(&g, blue.get(), Rect(10, 60, 340, 30), 1, margins);
    painter.SetInit(CString::FromUtf8(font), 12, FontStyleRegular);
    painter.DrawString(&g, L"Near", 10, 100, 340, 50, Color(255, 230, 230, 230),
                       StringAlignmentNear, StringAlignmentNear);
    painter.DrawString(&g, L"Centre", 10, 100, 340, 50, Color(255, 230, 230, 230),
                       StringAlignmentCenter, StringAlignmentCenter);
    painter.DrawString(&g, L"Far", 10, 100, 340, 50, Color(255, 230, 230, 230), StringAlignmentFar,
                       StringAlignmentFar);

    if (platform::SaveImageAsPng(&canvas, CString::FromPathBytes(out)) != Ok) {
        std::fprintf(stderr, "skinkit-render: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("wrote %s\n", out.c_str());
    return 0;
}
