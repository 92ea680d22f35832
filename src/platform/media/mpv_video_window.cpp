#include "platform/media/mpv_video_window.h"

#include <QGuiApplication>
#include <QOpenGLFunctions>
#include <QtGui/qguiapplication_platform.h>
#include <utility>
#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace {

// GL entry points for mpv, from whichever Qt context is current (render thread).
void *GlProcAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

} // namespace

MpvVideoWindow::MpvVideoWindow(Host &host, mpv_handle *mpv) : host_(host)
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSwapInterval(1); // wait for the screen's refresh where it has one: no tearing
    setFormat(format);
    spare_.setFormat(format);
    spare_.create();
    context_.setFormat(format);
    if (!context_.create() || !context_.makeCurrent(&spare_))
        return;
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
    if (mpv_render_context_create(&render_, mpv, params) < 0)
        render_ = nullptr;
    else
        mpv_render_context_set_update_callback(render_, &MpvVideoWindow::OnUpdate, this);
    context_.doneCurrent();
}

MpvVideoWindow::~MpvVideoWindow()
{
    if (!render_)
        return;
    context_.makeCurrent(&spare_);
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_); // mpv drops the video track here
    context_.doneCurrent();
    host_.RenderContextGone();
}

void MpvVideoWindow::TakeWaitingFrame()
{
    if (!updatePosted_)
        return;
    updatePosted_ = false;
    Draw(true, true);
}

void MpvVideoWindow::DropNativeWindow()
{
    if (handle())
        destroy();
}

void MpvVideoWindow::Clear()
{
    if (!handle() || !isExposed() || !context_.makeCurrent(this))
        return;
    context_.functions()->glClearColor(0, 0, 0, 1);
    context_.functions()->glClear(GL_COLOR_BUFFER_BIT);
    context_.swapBuffers(this);
    context_.doneCurrent();
}

// mpv thread: only posts the check to the GUI thread, at most one at a time.
void MpvVideoWindow::OnUpdate(void *self)
{
    auto *window = static_cast<MpvVideoWindow *>(self);
    if (!window->updatePosted_.exchange(true))
        QMetaObject::invokeMethod(window, [window] { window->CheckForFrame(); }, Qt::QueuedConnection);
}

// GUI thread: draws when mpv has a frame to show.
void MpvVideoWindow::CheckForFrame()
{
    updatePosted_ = false;
    Draw(true);
}

// Renders mpv's current frame and shows it; with `onlyNewFrame`, only when
// mpv has a new one. Where nobody can see it (hidden or minimised), or with
// `takeOnly`, the frame is taken without drawing, since mpv's output waits for
// every frame to be taken; the next expose draws it.
void MpvVideoWindow::Draw(bool onlyNewFrame, bool takeOnly)
{
    if (!render_)
        return;
    if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
        // Count frames of the open file only, not redraws asked for by the
        // output of one on its way out.
        mpv_render_frame_info info{};
        mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
        if (host_.VideoOn() && mpv_render_context_get_info(render_, query) >= 0
            && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT))
            unseenFrame_ = true;
    } else if (onlyNewFrame) {
        return;
    }
    // Frames nobody can see are taken on the spare surface.
    const bool visible = !takeOnly && handle() && isExposed();
    if (!context_.makeCurrent(visible ? static_cast<QSurface *>(this) : &spare_))
        return;
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(context_.defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1; // a window's own buffer has GL's origin at the bottom
    int skip = visible ? 0 : 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flip},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
    if (visible)
        context_.swapBuffers(this);
    mpv_render_context_report_swap(render_); // also when skipped, or mpv waits for it
    context_.doneCurrent();
    if (visible && std::exchange(unseenFrame_, false))
        host_.FrameShown();
}
