#pragma once
// Starting libmpv for the engine: loading libmpv, creating and starting mpv's
// core, choosing how the picture is drawn (mpv_video_route.h) and creating
// mpv's render context for it, on a GL context of its own for the OpenGL
// route. This is the costly part of making an MpvEngine (libmpv brings some
// two hundred libraries, OpenGL its driver), and nothing in it needs the GUI
// thread but the surface for OpenGL: a program can do it in the background,
// before the first file plays, and hand the result to the engine.

#include "media/mpv_video_route.h"

#include <QObject>
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

// mpv's render context, on a GL context of its own for the OpenGL route.
// Freed (with its context current on the surface) when destroyed. Its
// context belongs to the GUI thread.
struct MpvPicture
{
    VideoRoute route = VideoRoute::Software;
    bool started = false;                       // a render context was asked for
    std::unique_ptr<QOffscreenSurface> surface; // OpenGL: for work with no window on screen
    std::unique_ptr<QOpenGLContext> context;    // OpenGL
    mpv_render_context *render = nullptr;       // null: no picture can be drawn

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

// GUI thread: the surface an OpenGL picture's context works on away from the screen.
std::unique_ptr<QOffscreenSurface> MakeSpareSurface();

// Any thread: the render context for the software route.
void StartSoftwarePicture(mpv_handle *mpv, MpvPicture &picture);

// Any thread: the render context for the OpenGL route, on a new GL context
// over picture.surface (made by MakeSpareSurface). Where no GL context can be
// made, or (unless forced) its renderer is software, the picture takes the
// software route instead.
void StartOpenGlPicture(mpv_handle *mpv, MpvPicture &picture);

// GUI thread: the picture on `route`, made here and now.
MpvPicture MakeMpvPicture(mpv_handle *mpv, VideoRoute route);

// GUI thread: loads libmpv and starts a core with the engine's options, with
// its picture when options.drawVideo.
MpvStart StartMpv(const MpvEngineOptions &options);

// StartMpv in the background, from the moment this is made (GUI thread): the
// route is chosen and the core started on a thread of its own; on the OpenGL
// route the GUI thread then makes the surface (from its event loop) and
// another thread the GL context.
class MpvBackgroundStart
{
public:
    explicit MpvBackgroundStart(MpvEngineOptions options);
    ~MpvBackgroundStart();
    const MpvEngineOptions &Options() const { return options_; }
    // GUI thread: waits for the start to finish and hands it over.
    MpvStart Take();

private:
    void StartOpenGl();
    void Finish();

    MpvEngineOptions options_;
    MpvStart started_;
    bool wantsOpenGl_ = false; // the core is started, its OpenGL picture is to follow
    std::thread core_;
    std::thread openGl_;
    QObject receiver_; // for the core's thread's call to the GUI thread
};
