#include "media/mpv_start.h"

#include "base/program_name.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QtGui/qguiapplication_platform.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <utility>

namespace {

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
    : surface(std::move(other.surface))
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
    if (!render || !context)
        return;
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

void StartMpvPicture(mpv_handle *mpv, MpvPicture &picture)
{
    picture.context = std::make_unique<QOpenGLContext>();
    picture.context->setFormat(PictureFormat());
    if (picture.context->create() && picture.context->makeCurrent(picture.surface.get())) {
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
        if (mpv_render_context_create(&picture.render, mpv, params) < 0)
            picture.render = nullptr;
        picture.context->doneCurrent();
    }
    // Drawing, and the end of it all, happen on the GUI thread.
    picture.context->moveToThread(QCoreApplication::instance()->thread());
}

MpvStart StartMpv(const MpvEngineOptions &options, std::unique_ptr<QOffscreenSurface> surface)
{
    MpvStart start;
    start.picture.surface = std::move(surface); // kept for the GUI thread, whatever happens
    start.mpv = mpv_create();                   // loads libmpv on its first call
    if (!start.mpv)
        return start;
    Configure(start.mpv, options);
    if (mpv_initialize(start.mpv) < 0) {
        mpv_terminate_destroy(start.mpv);
        start.mpv = nullptr;
        return start;
    }
    if (options.drawVideo)
        StartMpvPicture(start.mpv, start.picture);
    return start;
}

MpvBackgroundStart::MpvBackgroundStart(MpvEngineOptions options)
    : options_(options)
{
    std::unique_ptr<QOffscreenSurface> surface = options.drawVideo ? MakeSpareSurface() : nullptr;
    thread_ = std::thread(
        [this, surface = std::move(surface)]() mutable { started_ = StartMpv(options_, std::move(surface)); });
}

MpvBackgroundStart::~MpvBackgroundStart()
{
    if (thread_.joinable())
        thread_.join();
}

MpvStart MpvBackgroundStart::Take()
{
    if (thread_.joinable())
        thread_.join();
    return std::move(started_);
}
