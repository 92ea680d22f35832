#include "media/mpv_software_window.h"

#include <QPainter>
#include <QResizeEvent>
#include <mpv/render.h>

namespace {

// mpv's name for the byte order of `format`, or null for one it does not write.
const char *MpvPixelFormat(QImage::Format format)
{
    // A 32-bit 0xffRRGGBB word: blue first in memory on little-endian machines.
    if (format == QImage::Format_RGB32)
        return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";
    if (format == QImage::Format_RGBX8888)
        return "rgb0";
    return nullptr;
}

} // namespace

QByteArray UprightingFilters(int rotation)
{
    // As mpv turns pictures itself where its output cannot.
    switch ((rotation % 360 + 360) % 360) {
    case 90: return "lavfi=[transpose=clock],format=rotate=0";
    case 180: return "lavfi=[vflip,hflip],format=rotate=0";
    case 270: return "lavfi=[transpose=cclock],format=rotate=0";
    default: return {};
    }
}

MpvSoftwareWindow::MpvSoftwareWindow(Host &host, MpvPicture picture)
    : MpvVideoWindow(host, std::move(picture))
    , store_(this)
{
    setSurfaceType(QSurface::RasterSurface);
}

void MpvSoftwareWindow::resizeEvent(QResizeEvent *)
{
    // A window made smaller gets no expose: the picture is drawn anew at its size.
    if (handle() && isExposed())
        Draw();
}

QPaintDevice *MpvSoftwareWindow::BeginPaint()
{
    if (size().isEmpty())
        return nullptr;
    if (store_.size() != size())
        store_.resize(size());
    store_.beginPaint(QRect(QPoint(), size()));
    return store_.paintDevice();
}

void MpvSoftwareWindow::EndPaint()
{
    store_.endPaint();
    store_.flush(QRect(QPoint(), size()));
}

void MpvSoftwareWindow::Clear()
{
    if (!handle() || !isExposed())
        return;
    if (QPaintDevice *device = BeginPaint()) {
        QPainter(device).fillRect(QRect(QPoint(), size()), Qt::black);
        EndPaint();
    }
}

void MpvSoftwareWindow::RenderInto(QImage &image)
{
    int size[2] = {image.width(), image.height()};
    size_t stride = image.bytesPerLine();
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>(MpvPixelFormat(image.format()))},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(picture_.render, params);
}

bool MpvSoftwareWindow::Render(bool visible)
{
    if (!visible) {
        int skip = 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(picture_.render, params);
        return true;
    }
    QPaintDevice *device = BeginPaint();
    if (!device)
        return false;
    auto *image = device->devType() == QInternal::Image ? static_cast<QImage *>(device) : nullptr;
    if (image && MpvPixelFormat(image->format())) {
        RenderInto(*image); // in place: no copy of our own
    } else {
        const QSize pixels = size() * devicePixelRatio();
        if (frame_.size() != pixels)
            frame_ = QImage(pixels, QImage::Format_RGB32);
        RenderInto(frame_);
        QPainter(device).drawImage(QRect(QPoint(), size()), frame_);
    }
    EndPaint();
    return true;
}
