#pragma once
// The native window mpv draws into, made before anything is shown so that the
// render context exists from the start and outlives moves between windows
// (the native window itself is made afresh in the new place). Input passes
// through it to the widgets beneath (its container's), so the host sees the
// keys and clicks as on any widget. Drawing follows mpv's word that a frame
// is due (its update callback), never a timer. How a frame is put on screen
// is the route's (mpv_opengl_window.h, mpv_software_window.h). GUI thread only.

#include "media/mpv_start.h"

#include <QWindow>
#include <atomic>

class MpvVideoWindow : public QWindow
{
public:
    // What the window tells the engine it draws for.
    class Host
    {
    public:
        // True while the open file's video track is on: only its frames count as shown.
        virtual bool VideoOn() const = 0;
        // A frame of the open file reached the screen.
        virtual void FrameShown() = 0;
        // The render context is gone (mpv dropped its video track with it).
        virtual void RenderContextGone() = 0;

    protected:
        ~Host() = default;
    };

    // The window for picture's route, drawing through it.
    static MpvVideoWindow *Make(Host &host, MpvPicture picture);
    ~MpvVideoWindow() override;

    bool HasRenderContext() const { return picture_.render != nullptr; }
    VideoRoute Route() const { return picture_.route; }
    // The file changed: what mpv delivered before is no longer to be shown.
    void ForgetFrame() { unseenFrame_ = false; }
    // Drops the native window (a new one is made when next shown). Moving a
    // GL window between top-level windows can crash Mesa's software renderer;
    // a fresh one in the new place cannot.
    void DropNativeWindow();
    // Paints the window black (no file, or a file without video).
    virtual void Clear() = 0;

protected:
    MpvVideoWindow(Host &host, MpvPicture picture);
    void exposeEvent(QExposeEvent *) override { Draw(); }
    // Renders mpv's frame where it can be seen (`visible`), else lets mpv
    // count it as taken; false when nothing could be done.
    virtual bool Render(bool visible) = 0;
    // Renders mpv's current frame and shows it; with `onlyNewFrame`, only
    // when mpv has a new one.
    void Draw(bool onlyNewFrame = false);

    MpvPicture picture_;

private:
    static void OnUpdate(void *self);
    void CheckForFrame();

    Host &host_;
    std::atomic<bool> updatePosted_{false};
    bool unseenFrame_ = false; // mpv delivered a frame not yet drawn on screen
};
