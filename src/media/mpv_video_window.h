#pragma once
// The native window mpv draws into, with a GL context of its own. Owning the
// context (rather than borrowing a QOpenGLWidget's) means the render context
// exists before anything is shown and outlives moves between windows (the
// native window itself is made afresh in the new place), and frames go
// straight to the window's own buffer: no extra composition pass per frame.
// Input passes through it to the widgets beneath (its container's), so the
// host sees the keys and clicks as on any widget. GUI thread only.

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

    // Draws through picture (its GL context and mpv's render context on it);
    // HasRenderContext() says whether it has one.
    MpvVideoWindow(Host &host, MpvPicture picture);
    ~MpvVideoWindow() override;

    bool HasRenderContext() const { return picture_.render != nullptr; }
    // The file changed: what mpv delivered before is no longer to be shown.
    void ForgetFrame() { unseenFrame_ = false; }
    // Drops the native window (a new one is made when next shown). Moving a
    // GL window between top-level windows can crash Mesa's software renderer;
    // a fresh one in the new place cannot. The GL context stays.
    void DropNativeWindow();
    // Paints the window black (no file, or a file without video).
    void Clear();

protected:
    void exposeEvent(QExposeEvent *) override { Draw(); }

private:
    static void OnUpdate(void *self);
    void CheckForFrame();
    void Draw(bool onlyNewFrame = false);

    Host &host_;
    MpvPicture picture_;
    std::atomic<bool> updatePosted_{false};
    bool unseenFrame_ = false; // mpv delivered a frame not yet drawn on screen
};
