#include "app/title_drag.h"

#include <QCursor>
#include <QWidget>

void BeginTitleDrag(const QWidget &window, qint16 &offsetX, qint16 &offsetY)
{
    const QPoint offset = TitleDragOffset(QCursor::pos(), {PixelsToTwips(window.x()), PixelsToTwips(window.y())});
    offsetX = static_cast<qint16>(offset.x());
    offsetY = static_cast<qint16>(offset.y());
}

void FollowTitleDrag(QWidget &window, qint16 offsetX, qint16 offsetY)
{
    const QPoint place = TitleDragPosition(QCursor::pos(), QPoint(offsetX, offsetY));
    window.move(place.x() / TwipsPerPixel, place.y() / TwipsPerPixel);
}
