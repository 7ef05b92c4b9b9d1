// Prints the colour of one pixel of the X screen as "srgb(r,g,b)", the way the display tests
// compare it: reads what the server shows, not what a program meant to draw.
//
//     x-pixel X Y        (screen coordinates, on $DISPLAY)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: x-pixel X Y\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x-pixel: no display\n");
        return 1;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) {
        XCloseDisplay(display);
        return 1;
    }
    XColor c{};
    c.pixel = XGetPixel(image, 0, 0);
    XQueryColor(display, DefaultColormap(display, DefaultScreen(display)), &c);
    std::printf("srgb(%d,%d,%d)\n", c.red >> 8, c.green >> 8, c.blue >> 8);
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
