#pragma once
// Moving the skinned window by its title picture. The arithmetic is in twips
// with a fixed 15 twips per pixel, whatever the screen's real density: the
// offset is taken when the drag starts, the window follows the cursor.

#include "base/units.h"

#include <QPoint>

class QWidget;

// Cursor (screen pixels) minus the window's top-left (twips), in twips.
inline QPoint TitleDragOffset(QPoint cursorPixels, QPoint windowTwips)
{
    return {cursorPixels.x() * TwipsPerPixel - windowTwips.x(), cursorPixels.y() * TwipsPerPixel - windowTwips.y()};
}

// The window's new top-left (twips) for the cursor (screen pixels).
inline QPoint TitleDragPosition(QPoint cursorPixels, QPoint offsetTwips)
{
    return {cursorPixels.x() * TwipsPerPixel - offsetTwips.x(), cursorPixels.y() * TwipsPerPixel - offsetTwips.y()};
}

// Starts dragging window by its title, pressed with the cursor at pressedAt
// (screen pixels, where the press happened rather than where the cursor is by
// the time a busy program handles it): takes the cursor's offset from the
// window, in twips, and returns true. Where programs may not place their own
// windows (as on Wayland) it hands the drag to the window system and returns false.
bool BeginTitleDrag(QWidget &window, QPoint pressedAt, qint16 &offsetX, qint16 &offsetY);

// Moves window so that it keeps the offset from the cursor.
void FollowTitleDrag(QWidget &window, qint16 offsetX, qint16 offsetY);
