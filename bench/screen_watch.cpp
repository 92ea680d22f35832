// Times what a user waits for, from outside the program: starts a command or
// clicks with the real pointer (XTEST), then watches the X server until a
// window of a given title is mapped, or until a rectangle of the screen shows
// a given picture. Prints the milliseconds from the start or the click to
// that moment, and the process id of a started command (0 for a click).
//
//   screen_watch map TITLE -- COMMAND [ARGUMENTS...]
//   screen_watch picture X Y W H FRAME.rgb (--click CX CY | --press CX CY | -- COMMAND [ARGUMENTS...])
//
// A --click counts from the button's release (what a push button acts on),
// a --press from its press (what the program's pictures act on).
//
// FRAME.rgb holds W x H pixels of 8-bit red, green and blue: the picture
// expected (a clip's first frame, decoded by ffmpeg). The rectangle matches
// when its pixels differ from it by less than a small mean on a grid of
// samples: colour conversion and scaling differ a little between players,
// a black, half-drawn or missing picture differs a lot.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto Timeout = std::chrono::seconds(30);
constexpr double MatchingMeanDifference = 24.0; // per channel, 0..255

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

pid_t Spawn(char **command)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(command[0], command);
        _exit(127);
    }
    return pid;
}

bool HasTitle(Display *display, Window window, const char *title)
{
    char *name = nullptr;
    const bool named = XFetchName(display, window, &name) && name;
    const bool same = named && std::strcmp(name, title) == 0;
    if (name)
        XFree(name);
    return same;
}

// Waits for a top-level window titled title to be mapped.
int WatchMap(const char *title, char **command)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(command);
    while (Clock::now() - start < Timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) {
                std::printf("%.1f %d\n", MillisecondsSince(start), int(pid));
                return 0;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    std::printf("timeout %d\n", int(pid));
    return 1;
}

struct Rectangle
{
    int x, y, width, height;
};

// Mean difference per channel between the screen rectangle and the expected
// picture, on a grid of samples every 8 pixels.
double MeanDifference(Display *display, const Rectangle &area, const std::vector<unsigned char> &expected)
{
    XImage *image =
        XGetImage(display, DefaultRootWindow(display), area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
    if (!image)
        return 255;
    double sum = 0;
    int samples = 0;
    for (int y = 4; y < area.height; y += 8) {
        for (int x = 4; x < area.width; x += 8) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char *want = &expected[(size_t(y) * area.width + x) * 3];
            sum += std::abs(int((pixel >> 16) & 0xff) - want[0]) + std::abs(int((pixel >> 8) & 0xff) - want[1])
                   + std::abs(int(pixel & 0xff) - want[2]);
            samples += 3;
        }
    }
    XDestroyImage(image);
    return samples ? sum / samples : 255;
}

void Press(Display *display, int x, int y)
{
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(30)); // a hand comes to rest before pressing
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
}

void Release(Display *display)
{
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

constexpr auto HeldFor = std::chrono::milliseconds(60); // how long a click holds the button

int WatchPicture(const Rectangle &area, const char *framePath, int argc, char **argv)
{
    std::ifstream file(framePath, std::ios::binary);
    const std::vector<unsigned char> expected{std::istreambuf_iterator<char>(file), {}};
    if (expected.size() != size_t(area.width) * area.height * 3)
        return 2;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    pid_t pid = 0;
    Clock::time_point start;
    bool held = false; // the button is down: the screen is watched while it is
    if (argc >= 3 && std::strcmp(argv[0], "--click") == 0) {
        Press(display, std::atoi(argv[1]), std::atoi(argv[2]));
        std::this_thread::sleep_for(HeldFor);
        Release(display);
        start = Clock::now();
    } else if (argc >= 3 && std::strcmp(argv[0], "--press") == 0) {
        Press(display, std::atoi(argv[1]), std::atoi(argv[2]));
        start = Clock::now();
        held = true;
    } else if (argc >= 2 && std::strcmp(argv[0], "--") == 0) {
        start = Clock::now();
        pid = Spawn(argv + 1);
    } else {
        return 2;
    }
    while (Clock::now() - start < Timeout) {
        if (held && Clock::now() - start >= HeldFor) {
            Release(display);
            held = false;
        }
        if (MeanDifference(display, area, expected) < MatchingMeanDifference) {
            std::printf("%.1f %d\n", MillisecondsSince(start), int(pid));
            if (held) {
                std::this_thread::sleep_for(HeldFor - (Clock::now() - start));
                Release(display);
            }
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::printf("timeout %d\n", int(pid));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "map") == 0 && std::strcmp(argv[3], "--") == 0)
        return WatchMap(argv[2], argv + 4);
    if (argc >= 9 && std::strcmp(argv[1], "picture") == 0) {
        const Rectangle area{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
        return WatchPicture(area, argv[6], argc - 7, argv + 7);
    }
    std::fprintf(stderr, "usage: screen_watch map TITLE -- COMMAND...\n"
                         "       screen_watch picture X Y W H FRAME.rgb (--click X Y | --press X Y | -- COMMAND...)\n");
    return 2;
}
