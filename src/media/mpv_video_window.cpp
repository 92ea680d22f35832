#include "media/mpv_video_window.h"

#include "media/mpv_opengl_window.h"
#include "media/mpv_software_window.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <utility>

MpvVideoWindow *MpvVideoWindow::Make(Host &host, MpvPicture picture)
{
    if (picture.route == VideoRoute::OpenGL)
        return new MpvOpenGlWindow(host, std::move(picture));
    return new MpvSoftwareWindow(host, std::move(picture));
}

MpvVideoWindow::MpvVideoWindow(Host &host, MpvPicture picture)
    : picture_(std::move(picture))
    , host_(host)
{
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
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

// Where nobody can see the window (hidden or minimised), the frame is taken
// without drawing, since mpv's output waits for every frame to be taken; the
// next expose draws it.
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
    const bool visible = handle() && isExposed();
    if (Render(visible) && visible && std::exchange(unseenFrame_, false))
        host_.FrameShown();
}
