#pragma once
// The pure rules behind dtVisualScrollBar: where its arrows and thumb go, how
// Value maps to the thumb's position and back during a drag, and the two
// integer conversions those rules round with. Everything is in twips, with the
// origin at the control's top-left corner; positions are real numbers, sizes
// whole twips. A rule that would overflow 32 bits or divide by a zero span
// answers std::nullopt, and the control then leaves its state as it was.

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QtGlobal>
#include <optional>

namespace ScrollBarGeometry {

// to-int: the nearest 32-bit integer, ties to the even neighbour (2.5 -> 2,
// 3.5 -> 4); nullopt for NaN and values outside the 32-bit range.
std::optional<qint32> ToInt(double value);

// half-int: to-int, then integer division by 2 truncating toward zero.
std::optional<qint32> HalfInt(double value);

// The clamp of an assignment to Value: below `min` gives `min`, else above
// `max` gives `max` (so with min > max every value not below min gives max).
qint32 ClampValue(qint64 value, qint32 min, qint32 max);

// A ThumbAlignment carried over to an orientation: a non-zero orientation
// maps 3, 4, 5 to 0, 1, 2; orientation 0 maps 0, 1, 2 to 3, 4, 5; other
// values stay as they are.
qint32 AlignmentForOrientation(qint32 alignment, qint32 orientation);

// True when `alignment` is one of the vertical form's (0-2) or the horizontal
// form's (3-5), as `vertical` says.
bool AlignmentBelongs(qint32 alignment, bool vertical);

// Top-left corners of the two arrows: `back` is the up (vertical) or left
// arrow, `forward` the down or right arrow.
struct ArrowPositions
{
    QPointF back;
    QPointF forward;
};

// Where the arrows go on a client area of `client` twips; `backSize` and
// `forwardSize` are the arrows' sizes. Hidden buttons are parked just outside
// the control. nullopt when the alignment does not belong to the orientation.
std::optional<ArrowPositions> PlaceArrows(bool vertical, qint32 alignment, bool buttonsVisible, QSize client,
                                          QSize backSize, QSize forwardSize);

// The thumb's travel along the bar: `start` and `end` are its first and last
// leading-edge positions.
struct ThumbSpan
{
    double start = 0;
    double end = 0;
};

// The travel between the arrows (`back` and `forward` are their boxes) when
// buttons are shown, or along the whole client length when they are hidden.
ThumbSpan ThumbTravel(bool vertical, bool buttonsVisible, QSize client, const QRectF &back, const QRectF &forward,
                      QSize thumb);

// The thumb's leading edge for `value`: its share of max - min along the
// travel. nullopt when max = min or a difference leaves 32 bits.
std::optional<double> ThumbLeadingEdge(qint32 value, qint32 min, qint32 max, ThumbSpan travel);

// The thumb's position across the bar for `alignment` (left/top edge: 0 and 3
// at the start, 1 and 4 centred, 2 and 5 at the far side). nullopt when the
// alignment does not belong to the orientation (the position is then kept).
std::optional<double> ThumbCrossPosition(bool vertical, qint32 alignment, QSize client, QSize thumb);

// The range a dragged thumb's leading edge may take, from the arrows' boxes
// (parked arrows give the whole length).
struct DragLimits
{
    qint32 lo = 0;
    qint32 hi = 0;
};

// nullopt when a limit leaves 32 bits.
std::optional<DragLimits> ThumbDragLimits(bool vertical, const QRectF &back, const QRectF &forward, QSize thumb);

// Pins a drag position: first to at most hi, then to at least lo, so lo wins
// when lo > hi.
qint32 PinDragPosition(qint32 position, DragLimits limits);

// The value a dragged thumb at leading edge `edge` stands for:
// to-int((edge - lo) / (hi - lo) * (max - min) + min). nullopt when hi = lo,
// a difference leaves 32 bits, or the result does.
std::optional<qint32> DragValue(double edge, DragLimits limits, qint32 min, qint32 max);

} // namespace ScrollBarGeometry
