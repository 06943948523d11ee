// A small X client for the end-to-end tests:
//   xprobe pixel X Y          prints the colour of a screen pixel as #rrggbb
//   xprobe close WINDOW       asks a window to close, as a window manager's close box does
//   xprobe dark X Y W H       counts the dark pixels of a part of the screen (text, lines)
//   xprobe shot FILE.png      saves the whole screen

#include <QImage> // before Xlib, whose macros clash with Qt's names

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

unsigned long channel(unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return (pixel >> shift) & mask;
}

int pixel(Display* d, int x, int y) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "xprobe: cannot read pixel %d,%d\n", x, y);
        return 1;
    }
    const unsigned long p = XGetPixel(image, 0, 0);
    std::printf("#%02lx%02lx%02lx\n", channel(p, image->red_mask), channel(p, image->green_mask),
                channel(p, image->blue_mask));
    XDestroyImage(image);
    return 0;
}

int dark(Display* d, int x, int y, int w, int h) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 1;
    }
    int count = 0;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const unsigned long p = XGetPixel(image, i, j);
            const unsigned long sum = channel(p, image->red_mask) + channel(p, image->green_mask) +
                                      channel(p, image->blue_mask);
            count += sum < 3 * 100 ? 1 : 0;
        }
    }
    XDestroyImage(image);
    std::printf("%d\n", count);
    return 0;
}

int close(Display* d, Window w) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &event);
    XFlush(d);
    return 0;
}

int shot(Display* d, const char* file) {
    const Window root = DefaultRootWindow(d);
    XWindowAttributes attributes{};
    XGetWindowAttributes(d, root, &attributes);
    XImage* image = XGetImage(d, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 1;
    }
    QImage picture(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            picture.setPixel(x, y,
                             qRgb(static_cast<int>(channel(p, image->red_mask)),
                                  static_cast<int>(channel(p, image->green_mask)),
                                  static_cast<int>(channel(p, image->blue_mask))));
        }
    }
    XDestroyImage(image);
    return picture.save(QString::fromLocal8Bit(file)) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "xprobe: no display\n");
        return 2;
    }
    if (argc == 4 && std::strcmp(argv[1], "pixel") == 0) {
        return pixel(display.get(), std::atoi(argv[2]), std::atoi(argv[3]));
    }
    if (argc == 6 && std::strcmp(argv[1], "dark") == 0) {
        return dark(display.get(), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                    std::atoi(argv[5]));
    }
    if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
        return close(display.get(), static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    }
    if (argc == 3 && std::strcmp(argv[1], "shot") == 0) {
        return shot(display.get(), argv[2]);
    }
    std::fprintf(stderr, "usage: xprobe pixel X Y | dark X Y W H | close WINDOW | shot FILE.png\n");
    return 2;
}
