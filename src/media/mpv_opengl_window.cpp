#include "media/mpv_opengl_window.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <mpv/render_gl.h>

MpvOpenGlWindow::MpvOpenGlWindow(Host &host, MpvPicture picture)
    : MpvVideoWindow(host, std::move(picture))
{
    setSurfaceType(QSurface::OpenGLSurface);
    if (picture_.context)
        setFormat(picture_.context->format());
}

void MpvOpenGlWindow::Clear()
{
    QOpenGLContext *context = picture_.context.get();
    if (!context || !handle() || !isExposed() || !context->makeCurrent(this))
        return;
    context->functions()->glClearColor(0, 0, 0, 1);
    context->functions()->glClear(GL_COLOR_BUFFER_BIT);
    context->swapBuffers(this);
    context->doneCurrent();
}

// Frames nobody can see are taken on the spare surface.
bool MpvOpenGlWindow::Render(bool visible)
{
    QOpenGLContext &context = *picture_.context;
    if (!context.makeCurrent(visible ? static_cast<QSurface *>(this) : picture_.surface.get()))
        return false;
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
    mpv_render_context_render(picture_.render, params);
    if (visible)
        context.swapBuffers(this);
    mpv_render_context_report_swap(picture_.render); // also when skipped, or mpv waits for it
    context.doneCurrent();
    return true;
}
