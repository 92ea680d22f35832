#pragma once
// Starting libmpv for the engine: loading libmpv, creating and starting mpv's
// core, and creating the GL context mpv draws with and mpv's render context on
// it. This is the costly part of making an MpvEngine (libmpv brings some two
// hundred libraries, OpenGL its driver), and nothing in it needs the GUI
// thread but the surface: a program can do it in the background, before the
// first file plays, and hand the result to the engine.

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <memory>
#include <thread>

struct mpv_handle;
struct mpv_render_context;

struct MpvEngineOptions
{
    // false: frames are decoded but not drawn (vo=null) and VideoWidget() is a
    // plain black widget; for tests and hosts that need no picture.
    bool drawVideo = true;
    // true: play as fast as decoding allows, sound going to the null output;
    // for tests that play files to their end.
    bool untimed = false;
};

// mpv's render context on a GL context of its own. Freed (with its context
// current on the surface) when destroyed. Its context belongs to the GUI thread.
struct MpvPicture
{
    std::unique_ptr<QOffscreenSurface> surface; // for work with no window on screen
    std::unique_ptr<QOpenGLContext> context;
    mpv_render_context *render = nullptr; // null: no picture can be drawn

    MpvPicture();
    MpvPicture(MpvPicture &&other) noexcept;
    MpvPicture &operator=(MpvPicture &&other) noexcept;
    ~MpvPicture();
};

// A started core, with its picture when it draws one. The core is destroyed
// with it unless an engine took it.
struct MpvStart
{
    mpv_handle *mpv = nullptr; // null: libmpv could not be started
    MpvPicture picture;

    MpvStart() = default;
    MpvStart(MpvStart &&other) noexcept;
    MpvStart &operator=(MpvStart &&other) noexcept;
    ~MpvStart();
};

// GUI thread: the surface a picture's context works on away from the screen.
std::unique_ptr<QOffscreenSurface> MakeSpareSurface();

// Any thread: creates the render context for mpv on a new GL context over
// picture.surface (made by MakeSpareSurface).
void StartMpvPicture(mpv_handle *mpv, MpvPicture &picture);

// Any thread: loads libmpv and starts a core with the engine's options, with
// its picture over surface when options.drawVideo.
MpvStart StartMpv(const MpvEngineOptions &options, std::unique_ptr<QOffscreenSurface> surface);

// StartMpv on a thread of its own, from the moment this is made (GUI thread).
class MpvBackgroundStart
{
public:
    explicit MpvBackgroundStart(MpvEngineOptions options);
    ~MpvBackgroundStart();
    const MpvEngineOptions &Options() const { return options_; }
    // GUI thread: waits for the start to finish and hands it over.
    MpvStart Take();

private:
    MpvEngineOptions options_;
    MpvStart started_;
    std::thread thread_;
};
