#include "controls/scroll_bar_geometry.h"

#include <cmath>
#include <limits>

namespace ScrollBarGeometry {

namespace {

constexpr qint64 Lowest = std::numeric_limits<qint32>::min();
constexpr qint64 Highest = std::numeric_limits<qint32>::max();

// a - b when it fits in 32 bits.
std::optional<qint32> Difference(qint32 a, qint32 b)
{
    const qint64 difference = qint64(a) - qint64(b);
    if (difference < Lowest || difference > Highest)
        return std::nullopt;
    return qint32(difference);
}

} // namespace

std::optional<qint32> ToInt(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    // The rounding mode is left at its default, to nearest with ties to even.
    const double nearest = std::nearbyint(value);
    if (nearest < double(Lowest) || nearest > double(Highest))
        return std::nullopt;
    return qint32(nearest);
}

std::optional<qint32> HalfInt(double value)
{
    const std::optional<qint32> whole = ToInt(value);
    if (!whole)
        return std::nullopt;
    return qint32(*whole / 2); // C++ division truncates toward zero
}

qint32 ClampValue(qint64 value, qint32 min, qint32 max)
{
    if (value < min)
        return min;
    if (value > max)
        return max;
    return qint32(value);
}

qint32 AlignmentForOrientation(qint32 alignment, qint32 orientation)
{
    if (orientation != 0 && alignment >= 3 && alignment <= 5)
        return alignment - 3;
    if (orientation == 0 && alignment >= 0 && alignment <= 2)
        return alignment + 3;
    return alignment;
}

bool AlignmentBelongs(qint32 alignment, bool vertical)
{
    return vertical ? alignment >= 0 && alignment <= 2 : alignment >= 3 && alignment <= 5;
}

std::optional<ArrowPositions> PlaceArrows(bool vertical, qint32 alignment, bool buttonsVisible, QSize client,
                                          QSize backSize, QSize forwardSize)
{
    if (!AlignmentBelongs(alignment, vertical))
        return std::nullopt;
    const int sw = client.width(), sh = client.height();
    if (vertical) {
        // Across the bar: left edge, centred in whole twips, or right edge.
        const auto across = [&](int arrowWidth) -> std::optional<double> {
            switch (alignment) {
            case 0: return 0.0;
            case 1:
                if (const auto half = HalfInt(double(sw) - arrowWidth))
                    return double(*half);
                return std::nullopt;
            default: return double(sw - arrowWidth);
            }
        };
        const auto backX = across(backSize.width());
        const auto forwardX = across(forwardSize.width());
        if (!backX || !forwardX)
            return std::nullopt;
        const double backY = buttonsVisible ? 0.0 : -double(backSize.height());
        const double forwardY = buttonsVisible ? double(sh - forwardSize.height()) : double(sh);
        return ArrowPositions{{*backX, backY}, {*forwardX, forwardY}};
    }
    // Across the bar: top edge, centred in real twips, or bottom edge.
    const auto across = [&](int arrowHeight) {
        switch (alignment) {
        case 3: return 0.0;
        case 4: return (double(sh) - arrowHeight) / 2;
        default: return double(sh - arrowHeight);
        }
    };
    const double backX = buttonsVisible ? 0.0 : -double(backSize.width());
    const double forwardX = buttonsVisible ? double(sw - forwardSize.width()) : double(sw);
    return ArrowPositions{{backX, across(backSize.height())}, {forwardX, across(forwardSize.height())}};
}

ThumbSpan ThumbTravel(bool vertical, bool buttonsVisible, QSize client, const QRectF &back, const QRectF &forward,
                      QSize thumb)
{
    if (vertical) {
        if (buttonsVisible)
            return {back.height(), forward.top() - thumb.height()};
        return {0.0, double(client.height() - thumb.height())};
    }
    if (buttonsVisible)
        return {back.width(), forward.left() - thumb.width()};
    return {0.0, double(client.width() - thumb.width())};
}

std::optional<double> ThumbLeadingEdge(qint32 value, qint32 min, qint32 max, ThumbSpan travel)
{
    const auto offset = Difference(value, min);
    const auto range = Difference(max, min);
    if (!offset || !range || *range == 0)
        return std::nullopt;
    return double(*offset) / double(*range) * (travel.end - travel.start) + travel.start;
}

std::optional<double> ThumbCrossPosition(bool vertical, qint32 alignment, QSize client, QSize thumb)
{
    if (!AlignmentBelongs(alignment, vertical))
        return std::nullopt;
    switch (alignment) {
    case 0:
    case 3: return 0.0;
    case 1:
        if (const auto half = HalfInt(double(client.width()) - thumb.width()))
            return double(*half);
        return std::nullopt;
    case 2: return double(client.width() - thumb.width());
    case 4: return (double(client.height()) - thumb.height()) / 2;
    default: return double(client.height() - thumb.height());
    }
}

std::optional<DragLimits> ThumbDragLimits(bool vertical, const QRectF &back, const QRectF &forward, QSize thumb)
{
    const auto lo = vertical ? ToInt(back.height() + back.top()) : ToInt(back.width() + back.left());
    const auto hi = vertical ? ToInt(forward.top() - thumb.height()) : ToInt(forward.left() - thumb.width());
    if (!lo || !hi)
        return std::nullopt;
    return DragLimits{*lo, *hi};
}

qint32 PinDragPosition(qint32 position, DragLimits limits)
{
    if (position >= limits.hi)
        position = limits.hi;
    if (limits.lo >= position)
        position = limits.lo;
    return position;
}

std::optional<qint32> DragValue(double edge, DragLimits limits, qint32 min, qint32 max)
{
    const auto travel = Difference(limits.hi, limits.lo);
    const auto range = Difference(max, min);
    if (!travel || !range || *travel == 0)
        return std::nullopt;
    return ToInt((edge - limits.lo) / double(*travel) * double(*range) + min);
}

} // namespace ScrollBarGeometry
