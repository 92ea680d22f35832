#include "media/mpv_start.h"

#include "base/program_name.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtGui/qguiapplication_platform.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcStart, "reelbox.media.start", QtWarningMsg)

// GL entry points for mpv, from whichever Qt context is current on the calling thread.
void *GlProcAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

QSurfaceFormat PictureFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSwapInterval(1); // wait for the screen's refresh where it has one: no tearing
    return format;
}

void Configure(mpv_handle *mpv, const MpvEngineOptions &options)
{
    const QByteArray clientName = ProgramName.toUtf8();
    const std::pair<const char *, const char *> settings[] = {
        {"config", "no"},
        {"ytdl", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"terminal", "no"},
        {"idle", "yes"},
        {"keep-open", "yes"}, // hold the last frame at the end, as a stopped graph does
        {"hwdec", "auto-safe"},
        {"vo", options.drawVideo ? "libmpv" : "null"},
        // The desktop's sound server, else the sound card; silence where
        // there is neither (the other drivers only cost start-up time).
        {"ao", "pipewire,pulse,alsa"},
        {"audio-fallback-to-null", "yes"},
        {"audio-client-name", clientName.constData()},
        // Frames are due when mpv hands them over: drawing never waits.
        {"video-timing-offset", "0"},
        // Subtitles beside a clip: names starting with the clip's, and a Subs folder.
        {"sub-auto", "fuzzy"},
        {"sub-file-paths", "Subs:subs"},
    };
    for (const auto &[name, value] : settings)
        mpv_set_option_string(mpv, name, value);
    if (options.untimed) {
        mpv_set_option_string(mpv, "untimed", "yes");
        mpv_set_option_string(mpv, "ao", "null");
        mpv_set_option_string(mpv, "ao-null-untimed", "yes");
    }
}

} // namespace

MpvPicture::MpvPicture() = default;

MpvPicture::MpvPicture(MpvPicture &&other) noexcept
    : route(other.route)
    , started(std::exchange(other.started, false))
    , surface(std::move(other.surface))
    , context(std::move(other.context))
    , render(std::exchange(other.render, nullptr))
{
}

MpvPicture &MpvPicture::operator=(MpvPicture &&other) noexcept
{
    if (this != &other) {
        this->~MpvPicture();
        new (this) MpvPicture(std::move(other));
    }
    return *this;
}

MpvPicture::~MpvPicture()
{
    if (!render)
        return;
    if (!context) {
        mpv_render_context_free(render);
        return;
    }
    // mpv frees its GL objects with the context current (and drops the video track).
    context->makeCurrent(surface.get());
    mpv_render_context_free(render);
    context->doneCurrent();
}

MpvStart::MpvStart(MpvStart &&other) noexcept
    : mpv(std::exchange(other.mpv, nullptr))
    , picture(std::move(other.picture))
{
}

MpvStart &MpvStart::operator=(MpvStart &&other) noexcept
{
    if (this != &other) {
        this->~MpvStart();
        new (this) MpvStart(std::move(other));
    }
    return *this;
}

MpvStart::~MpvStart()
{
    picture = MpvPicture(); // the render context goes before the core
    if (mpv)
        mpv_terminate_destroy(mpv);
}

std::unique_ptr<QOffscreenSurface> MakeSpareSurface()
{
    auto surface = std::make_unique<QOffscreenSurface>();
    surface->setFormat(PictureFormat());
    surface->create();
    return surface;
}

void StartSoftwarePicture(mpv_handle *mpv, MpvPicture &picture)
{
    picture.route = VideoRoute::Software;
    picture.started = true;
    // One thread converts each frame: splitting it among threads costs more
    // in their wake-ups than it saves (some 14% of the playback's CPU on a 720p
    // clip), and a frame still takes a few milliseconds.
    mpv_set_option_string(mpv, "zimg-threads", "1");
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&picture.render, mpv, params) < 0)
        picture.render = nullptr;
}

void StartOpenGlPicture(mpv_handle *mpv, MpvPicture &picture)
{
    picture.route = VideoRoute::OpenGL;
    picture.started = true;
    picture.context = std::make_unique<QOpenGLContext>();
    picture.context->setFormat(PictureFormat());
    if (!picture.context->create() || !picture.context->makeCurrent(picture.surface.get())) {
        qCInfo(lcStart, "no OpenGL context: the picture is drawn in software");
        picture.context.reset();
        StartSoftwarePicture(mpv, picture);
        return;
    }
    const auto *renderer = reinterpret_cast<const char *>(picture.context->functions()->glGetString(GL_RENDERER));
    if (IsSoftwareRenderer(renderer) && ForcedVideoRoute() != VideoRoute::OpenGL) {
        qCInfo(lcStart, "OpenGL renderer %s is software: the picture is drawn in software", renderer);
        picture.context->doneCurrent();
        picture.context.reset();
        StartSoftwarePicture(mpv, picture);
        return;
    }
    mpv_opengl_init_params gl{GlProcAddress, nullptr};
    int advanced = 0;
    Display *x11 = nullptr;
    if (auto *app = qApp->nativeInterface<QNativeInterface::QX11Application>())
        x11 = app->display(); // lets hardware decoding hand frames to GL on X11
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {x11 ? MPV_RENDER_PARAM_X11_DISPLAY : MPV_RENDER_PARAM_INVALID, x11},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    const bool created = mpv_render_context_create(&picture.render, mpv, params) >= 0;
    picture.context->doneCurrent();
    if (!created) {
        qCInfo(lcStart, "mpv cannot draw with OpenGL here: the picture is drawn in software");
        picture.render = nullptr;
        picture.context.reset();
        StartSoftwarePicture(mpv, picture);
        return;
    }
    // Drawing, and the end of it all, happen on the GUI thread.
    picture.context->moveToThread(QCoreApplication::instance()->thread());
}

MpvPicture MakeMpvPicture(mpv_handle *mpv, VideoRoute route)
{
    MpvPicture picture;
    if (route == VideoRoute::OpenGL) {
        picture.surface = MakeSpareSurface();
        StartOpenGlPicture(mpv, picture);
    } else {
        StartSoftwarePicture(mpv, picture);
    }
    return picture;
}

namespace {

mpv_handle *StartCoreNow(const MpvEngineOptions &options)
{
    mpv_handle *mpv = mpv_create(); // loads libmpv on its first call
    if (!mpv)
        return nullptr;
    Configure(mpv, options);
    if (mpv_initialize(mpv) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    return mpv;
}

// Any thread: loads libmpv and starts a core with the engine's options.
mpv_handle *StartCore(const MpvEngineOptions &options)
{
    // The route's probe runs in a process of its own while libmpv loads here.
    std::thread probe([draw = options.drawVideo] {
        if (draw && !ForcedVideoRoute())
            ProbedRenderer();
    });
    mpv_handle *mpv = StartCoreNow(options);
    probe.join();
    return mpv;
}

} // namespace

MpvStart StartMpv(const MpvEngineOptions &options)
{
    MpvStart start;
    start.mpv = StartCore(options);
    if (start.mpv && options.drawVideo)
        start.picture = MakeMpvPicture(start.mpv, ChooseVideoRoute());
    return start;
}

MpvBackgroundStart::MpvBackgroundStart(MpvEngineOptions options)
    : options_(options)
{
    core_ = std::thread([this] {
        started_.mpv = StartCore(options_);
        if (!started_.mpv || !options_.drawVideo)
            return;
        if (ChooseVideoRoute() == VideoRoute::Software) {
            StartSoftwarePicture(started_.mpv, started_.picture);
        } else {
            wantsOpenGl_ = true;
            QMetaObject::invokeMethod(
                &receiver_, [this] { StartOpenGl(); }, Qt::QueuedConnection);
        }
    });
}

MpvBackgroundStart::~MpvBackgroundStart()
{
    // An OpenGL picture nobody takes is not made.
    if (core_.joinable())
        core_.join();
    if (openGl_.joinable())
        openGl_.join();
}

// GUI thread, once the core is started: the surface here, the GL context on a thread of its own.
void MpvBackgroundStart::StartOpenGl()
{
    if (core_.joinable())
        core_.join();
    if (!std::exchange(wantsOpenGl_, false))
        return;
    started_.picture.surface = MakeSpareSurface();
    openGl_ = std::thread([this] { StartOpenGlPicture(started_.mpv, started_.picture); });
}

void MpvBackgroundStart::Finish()
{
    StartOpenGl(); // unless the event loop did already
    if (openGl_.joinable())
        openGl_.join();
}

MpvStart MpvBackgroundStart::Take()
{
    Finish();
    return std::move(started_);
}
