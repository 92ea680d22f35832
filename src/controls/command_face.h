#pragma once
// The face of a Command: one skin picture cut into an eight-piece frame over a
// two-colour vertical gradient. The control fills a CommandFaceOption with
// what to draw and RenderCommandFace paints it, so the painting is known
// without a widget (a test draws a face as the control would).
// Frame geometry is reckoned in twips (15 twips = 1 px).

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

// One piece of the button frame: where it goes on the control and which part
// of the 960 x 375 twip skin picture it shows, both in twips.
struct FramePiece
{
    QRect destination;
    QRect source;
};

// The frame's spans that depend on the control's size, as 16-bit values.
struct CommandFrameSpans
{
    qint16 middleWidth = 0;  // W - 120: width of the top and bottom edges
    qint16 middleHeight = 0; // H - 120: height of the left and right edges
    qint16 rightX = 0;       // W - 60: left of the right column
    qint16 bottomY = 0;      // H - 60: top of the bottom row
};

// Recomputes `spans` for a control of the given size in twips. A span whose
// value does not fit in 16 bits keeps its previous value; returns false when
// any did not fit.
bool UpdateCommandFrameSpans(CommandFrameSpans &spans, int widthTwips, int heightTwips);

// The eight frame pieces, in drawing order: top-left corner, top edge,
// top-right corner, right edge, bottom-right corner, bottom edge, bottom-left
// corner, left edge. Edge pieces are stretched; corners keep their size.
std::array<FramePiece, 8> CommandFramePieces(const CommandFrameSpans &spans);

// Reads a colour text "&HRRGGBB" (red, green, blue, left to right; fewer
// digits are padded on the left with zeros). Invalid text gives an invalid colour.
QColor CommandColourFromText(const QString &text);

// The face's gradient colour for pixel row `row` of a face `heightPx` rows high:
// "&HFFFFFF" at row 0 blending linearly to "&HC6C5D7" at row heightPx - 1,
// or the other way round when `reversed`.
QColor CommandGradientColour(int row, int heightPx, bool reversed);

// What one drawing of the face shows.
struct CommandFaceOption
{
    QSize size;                    // the control's size in pixels
    qreal devicePixelRatio = 1;    // of the screen the control shows on
    bool gradientReversed = false; // the light colour at the bottom (while hovered)
    CommandFrameSpans frameSpans;  // as last updated for the control's size
    QPixmap skin;                  // the shown face's skin picture; null draws no frame
};

// The face as a picture in device pixels carrying the option's ratio: the
// gradient one colour per device-pixel row, the frame pieces over it placed in
// whole pixels of the control; a skin picture of another size than 64 x 25 px
// has its source rectangles scaled to it. Null for an empty size.
QPixmap RenderCommandFace(const CommandFaceOption &option);
