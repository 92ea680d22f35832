#pragma once
// A short animated outline that moves from one screen rectangle to another, the
// effect with which a player window opens out of the place the user clicked and
// closes back into it. It blocks for an eighth of a second while it draws,
// without taking user input, and leaves no window behind.

#include <QRect>

// Draws the outline travelling from `from` to `to` (screen pixels), then returns.
void AnimateFrame(const QRect &from, const QRect &to);

// The outline's rectangle at progress t in [0, 1].
QRect InterpolateFrame(const QRect &from, const QRect &to, double t);
