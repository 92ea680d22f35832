#pragma once
// The picture drawn by mpv's software renderer straight into the window's
// raster buffer (on X11 a shared-memory image the server copies from), at
// the window's size in device pixels. mpv scales, converts and adds the
// black bars as it does on OpenGL; one frame costs one conversion and one
// copy by the display server, as mpv's own X11 output does.

#include "media/mpv_video_window.h"

#include <QBackingStore>
#include <QImage>

// mpv's software renderer draws no rotation (mpv 0.35 aborts on a rotated
// frame): for a picture to be turned by `rotation` degrees clockwise, the
// video filters that turn it before it is drawn, marking it upright; empty
// for none.
QByteArray UprightingFilters(int rotation);

class MpvSoftwareWindow : public MpvVideoWindow
{
public:
    MpvSoftwareWindow(Host &host, MpvPicture picture);
    void Clear() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool Render(bool visible) override;

private:
    // The buffer to paint in, sized to the window; null while there is none.
    QPaintDevice *BeginPaint();
    void EndPaint();
    // Renders mpv's frame into `image` (4 bytes a pixel, RGB).
    void RenderInto(QImage &image);

    QBackingStore store_;
    QImage frame_; // where the buffer is not in a format mpv writes
};
