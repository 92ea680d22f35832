// A stand-in for a desktop panel or dock in the system tests: a dock window
// along one edge of the screen that reserves its strip (_NET_WM_STRUT_PARTIAL),
// so the window manager's work area, and with it a program's "available"
// screen area, leaves it out. It stays until it is ended.
//
//   screen_panel left|top PIXELS

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "left") != 0 && std::strcmp(argv[1], "top") != 0)) {
        std::fprintf(stderr, "usage: screen_panel left|top PIXELS\n");
        return 2;
    }
    const bool left = std::strcmp(argv[1], "left") == 0;
    const long thickness = std::atol(argv[2]);
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const int screen = DefaultScreen(display);
    const long width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    const Window panel = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, left ? thickness : width,
                                             left ? height : thickness, 0, 0, 0x404040);
    // At the edge, as asked: a window manager places a window by its own
    // rules unless the window says the user chose its place.
    XSizeHints *hints = XAllocSizeHints();
    hints->flags = USPosition | PPosition;
    XSetWMNormalHints(display, panel, hints);
    XFree(hints);
    Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(&dock), 1);
    // left, right, top, bottom, then the start and end of each along its edge.
    long strut[12] = {};
    if (left) {
        strut[0] = thickness;
        strut[5] = height - 1;
    } else {
        strut[2] = thickness;
        strut[9] = width - 1;
    }
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char *>(strut), 12);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(strut), 4);
    // Mapped until the window manager takes it on (WM_STATE): one that has
    // only just started can miss the first map.
    const Atom managed = XInternAtom(display, "WM_STATE", False);
    for (bool taken = false; !taken;) {
        XMapWindow(display, panel);
        XFlush(display);
        for (int wait = 0; wait < 50 && !taken; ++wait) {
            usleep(10000);
            Atom type;
            int format;
            unsigned long count, left;
            unsigned char *data = nullptr;
            taken = XGetWindowProperty(display, panel, managed, 0, 2, False, AnyPropertyType, &type, &format, &count,
                                       &left, &data)
                        == Success
                    && type != None;
            if (data)
                XFree(data);
        }
        if (!taken) {
            XUnmapWindow(display, panel);
            XSync(display, False);
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        pause();
}
