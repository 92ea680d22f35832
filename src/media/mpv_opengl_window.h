#pragma once
// The picture drawn by mpv with OpenGL, on a GL context of its own. Owning
// the context (rather than borrowing a QOpenGLWidget's) means frames go
// straight to the window's own buffer: no extra composition pass per frame.

#include "media/mpv_video_window.h"

class MpvOpenGlWindow : public MpvVideoWindow
{
public:
    MpvOpenGlWindow(Host &host, MpvPicture picture);
    void Clear() override;

protected:
    bool Render(bool visible) override;
};
