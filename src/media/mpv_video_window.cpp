#include "media/mpv_video_window.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <utility>

MpvVideoWindow::MpvVideoWindow(Host &host, MpvPicture picture)
    : host_(host)
    , picture_(std::move(picture))
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    if (picture_.context)
        setFormat(picture_.context->format());
    if (picture_.render)
        mpv_render_context_set_update_callback(picture_.render, &MpvVideoWindow::OnUpdate, this);
}

MpvVideoWindow::~MpvVideoWindow()
{
    if (!picture_.render)
        return;
    mpv_render_context_set_update_callback(picture_.render, nullptr, nullptr);
    picture_ = MpvPicture(); // frees the render context: mpv drops the video track here
    host_.RenderContextGone();
}

void MpvVideoWindow::DropNativeWindow()
{
    if (handle())
        destroy();
}

void MpvVideoWindow::Clear()
{
    QOpenGLContext *context = picture_.context.get();
    if (!context || !handle() || !isExposed() || !context->makeCurrent(this))
        return;
    context->functions()->glClearColor(0, 0, 0, 1);
    context->functions()->glClear(GL_COLOR_BUFFER_BIT);
    context->swapBuffers(this);
    context->doneCurrent();
}

// mpv thread: only posts the check to the GUI thread, at most one at a time.
void MpvVideoWindow::OnUpdate(void *self)
{
    auto *window = static_cast<MpvVideoWindow *>(self);
    if (!window->updatePosted_.exchange(true))
        QMetaObject::invokeMethod(
            window, [window] { window->CheckForFrame(); }, Qt::QueuedConnection);
}

// GUI thread: draws when mpv has a frame to show.
void MpvVideoWindow::CheckForFrame()
{
    updatePosted_ = false;
    Draw(true);
}

// Renders mpv's current frame and shows it; with `onlyNewFrame`, only when
// mpv has a new one. Where nobody can see it (hidden or minimised), the frame
// is taken without drawing, since mpv's output waits for every frame to be
// taken; the next expose draws it.
void MpvVideoWindow::Draw(bool onlyNewFrame)
{
    mpv_render_context *render = picture_.render;
    if (!render)
        return;
    if (mpv_render_context_update(render) & MPV_RENDER_UPDATE_FRAME) {
        // Count frames of the open file only, not redraws asked for by the
        // output of one on its way out.
        mpv_render_frame_info info{};
        mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
        if (host_.VideoOn() && mpv_render_context_get_info(render, query) >= 0
            && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT))
            unseenFrame_ = true;
    } else if (onlyNewFrame) {
        return;
    }
    // Frames nobody can see are taken on the spare surface.
    const bool visible = handle() && isExposed();
    QOpenGLContext &context = *picture_.context;
    if (!context.makeCurrent(visible ? static_cast<QSurface *>(this) : picture_.surface.get()))
        return;
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(context.defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1; // a window's own buffer has GL's origin at the bottom
    int skip = visible ? 0 : 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flip},
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render, params);
    if (visible)
        context.swapBuffers(this);
    mpv_render_context_report_swap(render); // also when skipped, or mpv waits for it
    context.doneCurrent();
    if (visible && std::exchange(unseenFrame_, false))
        host_.FrameShown();
}
