#pragma once
// Window geometry is designed in twips; the screen works in pixels. The design
// assumes 96 dots per inch, where 15 twips make one pixel, and so do we.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

constexpr int TwipsPerPixel = 15;

// Twips to whole pixels, rounded to the nearest pixel (ties to even, like the
// design tools did), so 1 twip lands on pixel 0 and 60 twips on pixel 4.
inline int TwipsToPixels(int twips)
{
    return static_cast<int>(std::nearbyint(twips / double(TwipsPerPixel)));
}

constexpr int PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

inline QPoint TwipsToPixels(QPoint twips)
{
    return {TwipsToPixels(twips.x()), TwipsToPixels(twips.y())};
}

inline QSize TwipsToPixels(QSize twips)
{
    return {TwipsToPixels(twips.width()), TwipsToPixels(twips.height())};
}

// A control's place from its design position and size, both in twips.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
