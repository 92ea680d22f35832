#include "app/title_drag.h"

#include "desktop/window_system.h"

#include <QCursor>
#include <QWidget>
#include <QWindow>

bool BeginTitleDrag(QWidget &window, QPoint pressedAt, qint16 &offsetX, qint16 &offsetY)
{
    if (!ProgramsPlaceWindows()) {
        if (QWindow *handle = window.windowHandle())
            handle->startSystemMove();
        return false;
    }
    const QPoint offset = TitleDragOffset(pressedAt, {PixelsToTwips(window.x()), PixelsToTwips(window.y())});
    offsetX = static_cast<qint16>(offset.x());
    offsetY = static_cast<qint16>(offset.y());
    return true;
}

void FollowTitleDrag(QWidget &window, qint16 offsetX, qint16 offsetY)
{
    const QPoint place = TitleDragPosition(QCursor::pos(), QPoint(offsetX, offsetY));
    window.move(place.x() / TwipsPerPixel, place.y() / TwipsPerPixel);
}
