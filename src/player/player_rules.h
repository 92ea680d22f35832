#pragma once
// The player windows' pure rules: the time display, the arrow keys' seek
// step, the picture's size on the screen and its place inside the video area.

#include <QRect>
#include <QSize>
#include <QString>

// Seconds as "hh:mm:ss" from the whole seconds of t; "00:00:00" below one
// second or for a value that is not a number; "24:59:59" past 24 hours.
QString FormatTime(double t);

// Round to the nearest whole number, halves to the even neighbour.
qint64 RoundHalfEven(double value);

// The arrow keys' step for a file of `duration` seconds: a twentieth of it.
qint32 SeekStepFor(double duration);

// The picture's size in full-screen mode: the whole screen but for the title
// strip and the bottom panel (player_chrome.h).
QSize FullScreenVideoSize(QSize screen);

// A picture in a window: its own size where that fits `room`, else the
// largest size with its proportions that does (never below one pixel a side).
QSize FitPicture(QSize picture, QSize room);

// The picture's place inside an area of w x h pixels for a picture of
// videoWidth x videoHeight: the largest size with the picture's aspect ratio,
// centred; the picture's own size when it fills the area exactly.
QRect CorrectAspectRect(int w, int h, int videoWidth, int videoHeight);

// Left arrow from `position`: back half a step when a whole step fits before
// the position, else to the start.
double SeekBack(double position, qint32 seekStep);
// Right arrow from `position`: forward a step, or to the end when it would pass it.
double SeekForward(double position, qint32 seekStep, double duration);
