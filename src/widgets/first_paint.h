#pragma once
// Work that can wait until a window is on the screen with everything in it.

#include <functional>

class QWidget;

// Runs work once, after window's first paint has been handed to the display
// (or after a second at most, for a window that is not painted, such as one
// started minimised): what the user waits for to see the window comes
// first. The paint is told by window's own paint event, so window must paint
// itself (its background), not leave it all to opaque children. work runs on
// window's thread, and not at all if window goes first.
void AfterFirstPaint(QWidget &window, std::function<void()> work);
