// The scroll bar's picture boxes: their place in twips, their picture over
// their background, and their mouse reported in twips.

#include "controls/scroll_bar_picture_box.h"

#include "base/units.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

int ToPixels(double twips)
{
    return int(std::nearbyint(twips / TwipsPerPixel));
}

} // namespace

ScrollBarPictureBox::ScrollBarPictureBox(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
}

void ScrollBarPictureBox::SetTwips(const QRectF &place)
{
    twips = place;
    setGeometry(ToPixels(place.left()), ToPixels(place.top()), ToPixels(place.width()), ToPixels(place.height()));
}

void ScrollBarPictureBox::SetPicture(const ScrollBarPicture &shown)
{
    picture = shown;
    if (autoSize && HoldsImage())
        ResizeTwips(PictureTwips().width(), PictureTwips().height());
    update();
}

void ScrollBarPictureBox::SetAutoSize(bool value)
{
    autoSize = value;
    SetPicture(picture);
}

void ScrollBarPictureBox::SetBackground(const QColor &colour)
{
    background = colour;
    update();
}

void ScrollBarPictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (background.isValid())
        painter.fillRect(rect(), background);
    if (HoldsImage())
        painter.drawPixmap(0, 0, *picture);
}

// Every button counts for press, move and release; only the left one clicks.
void ScrollBarPictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        leftHeld = true;
    if (mouseDown)
        mouseDown(ToBoxTwips(event->position()));
}

void ScrollBarPictureBox::mouseMoveEvent(QMouseEvent *event)
{
    if (mouseMove)
        mouseMove(ToBoxTwips(event->position()));
}

void ScrollBarPictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool clicked = event->button() == Qt::LeftButton && leftHeld && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        leftHeld = false;
    if (mouseUp)
        mouseUp();
    if (clicked && click)
        click();
}

QSizeF ScrollBarPictureBox::PictureTwips() const
{
    return picture->deviceIndependentSize() * TwipsPerPixel;
}

QPointF ScrollBarPictureBox::ToBoxTwips(QPointF pixels) const
{
    return (QPointF(pos()) + pixels) * TwipsPerPixel - twips.topLeft();
}
