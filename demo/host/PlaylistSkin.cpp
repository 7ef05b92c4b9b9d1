#include "demo/host/PlaylistSkin.h"

#include "platform/gdiplus/Gdi.h"
#include "platform/gdiplus/Gdiplus.h"

#include <cstdio>

using namespace Gdiplus;

namespace demo {

namespace {

void Fill(Graphics& g, ARGB colour, int x, int y, int w, int h)
{
    SolidBrush b{Color(colour)};
    g.FillRectangle(&b, x, y, w, h);
}

// A vertical blend from `top` to `bottom`, one row at a time.
void Blend(Graphics& g, int x, int w, int h, ARGB top, ARGB bottom)
{
    for (int y = 0; y < h; ++y) {
        ARGB c = 0xFF000000u;
        for (int s = 0; s < 24; s += 8) {
            const int a = (top >> s) & 0xFF, b = (bottom >> s) & 0xFF;
            c |= static_cast<ARGB>(a + (b - a) * y / std::max(h - 1, 1)) << s;
        }
        Fill(g, c, x, y, w, 1);
    }
}

bool Save(Bitmap& b, const std::string& folder, const char* name)
{
    const std::string path = folder + "/" + name;
    if (platform::SaveImageAsPng(&b, CString::FromUtf8(path)) == Ok)
        return true;
    std::fprintf(stderr, "skinkit-demo-skin: cannot write %s\n", path.c_str());
    return false;
}

bool Gradient(const std::string& folder, const char* name, int w, int h, ARGB top, ARGB bottom)
{
    Bitmap b(w, h, PixelFormat32bppARGB);
    Graphics g(&b);
    Blend(g, 0, w, h, top, bottom);
    return Save(b, folder, name);
}

bool CheckBox(const std::string& folder, const char* name, int state)
{
    Bitmap b(16, 16, PixelFormat32bppARGB);
    Graphics g(&b);
    Fill(g, 0xFF6A7480u, 0, 0, 16, 16);
    Fill(g, 0xFFF4F6F8u, 1, 1, 14, 14);
    if (state > 0)
        for (int i = 0; i < 5; ++i) { // a tick: down then up
            Fill(g, 0xFF2E9D4Bu, 3 + i, 7 + i, 2, 2);
            Fill(g, 0xFF2E9D4Bu, 8 + i, 10 - 2 * i, 2, 2);
        }
    else if (state < 0)
        Fill(g, 0xFF4F7FB8u, 4, 7, 8, 3);
    return Save(b, folder, name);
}

bool Icon(const std::string& folder, const char* name, bool playing)
{
    Bitmap b(12, 12, PixelFormat32bppARGB);
    Graphics g(&b);
    if (playing)
        for (int x = 0; x < 10; ++x) // a triangle pointing right
            Fill(g, 0xFF7FE08Au, 1 + x, x / 2 + 1, 1, 10 - x);
    else {
        Fill(g, 0xFFF0C040u, 2, 1, 3, 10);
        Fill(g, 0xFFF0C040u, 7, 1, 3, 10);
    }
    return Save(b, folder, name);
}

// Four 12 x 12 frames (normal, hover, disabled, down) with an arrow up or down.
bool Arrow(const std::string& folder, const char* name, bool up)
{
    const ARGB faces[4] = {0xFF3A4C60u, 0xFF4F7FB8u, 0xFF2A3038u, 0xFF23415Fu};
    Bitmap b(48, 12, PixelFormat32bppARGB);
    Graphics g(&b);
    for (int k = 0; k < 4; ++k) {
        Fill(g, 0xFF18202Au, k * 12, 0, 12, 12);
        Fill(g, faces[k], k * 12 + 1, 1, 10, 10);
        const ARGB ink = k == 2 ? 0xFF5A6470u : 0xFFE6ECF2u;
        for (int r = 0; r < 4; ++r)
            Fill(g, ink, k * 12 + 6 - r - 1, up ? 4 + r : 7 - r, 2 * r + 2, 1);
    }
    return Save(b, folder, name);
}

} // namespace

bool DrawPlaylistPictures(const std::string& folder)
{
    bool ok = Gradient(folder, "list_header.png", 4, 32, 0xFF3A4C60u, 0xFF233140u);
    ok = Gradient(folder, "list_row.png", 4, 32, 0xFF1E2732u, 0xFF18202Au) && ok;
    ok = Gradient(folder, "list_row_sel.png", 4, 32, 0xFF35608Eu, 0xFF27486Cu) && ok;
    ok = Gradient(folder, "list_line_top.png", 4, 1, 0xFF2C3846u, 0xFF2C3846u) && ok;
    ok = Gradient(folder, "list_line_bottom.png", 4, 1, 0xFF10161Cu, 0xFF10161Cu) && ok;
    ok = Gradient(folder, "list_sep.png", 1, 4, 0xFF10161Cu, 0xFF10161Cu) && ok;
    ok = CheckBox(folder, "list_check_off.png", 0) && ok;
    ok = CheckBox(folder, "list_check_on.png", 1) && ok;
    ok = CheckBox(folder, "list_check_mixed.png", -1) && ok;
    ok = Icon(folder, "list_icon_play.png", true) && ok;
    ok = Icon(folder, "list_icon_pause.png", false) && ok;
    ok = Gradient(folder, "scroll_track.png", 12, 8, 0xFF10161Cu, 0xFF10161Cu) && ok;
    ok = Gradient(folder, "scroll_thumb.png", 12, 16, 0xFF6A7C90u, 0xFF4A5C70u) && ok;
    ok = Arrow(folder, "scroll_up.png", true) && ok;
    ok = Arrow(folder, "scroll_down.png", false) && ok;
    return ok;
}

} // namespace demo
