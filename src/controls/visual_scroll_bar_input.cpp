// dtVisualScrollBar's answers to the mouse: a press on the track pages and a
// click on an arrow steps, both through the Value property (a step that would
// leave 32 bits is skipped); a drag of the thumb scrolls, taking the value
// from where the thumb lands.

#include "controls/visual_scroll_bar.h"

#include "controls/scroll_bar_geometry.h"
#include "controls/scroll_bar_picture_box.h"

#include <limits>

using namespace ScrollBarGeometry;

// A press on the track pages towards it: forward when past the thumb's
// leading edge, backward otherwise (also exactly level with it).
void dtVisualScrollBar::picBG_MouseDown(QPointF position)
{
    const QRectF thumb = picTHUMB->Twips();
    const bool forward = Vertical() ? position.y() > thumb.top() : position.x() > thumb.left();
    StepValue(qint64(fields.Value) + (forward ? fields.LargeChange : -qint64(fields.LargeChange)));
}

void dtVisualScrollBar::picUP_Click()
{
    StepValue(qint64(fields.Value) - fields.SmallChange);
}

void dtVisualScrollBar::picDN_Click()
{
    StepValue(qint64(fields.Value) + fields.SmallChange);
}

void dtVisualScrollBar::picLeft_Click()
{
    StepValue(qint64(fields.Value) - fields.SmallChange);
}

void dtVisualScrollBar::picRight_Click()
{
    StepValue(qint64(fields.Value) + fields.SmallChange);
}

// `position` is in thumb twips. A press while a drag is on re-takes the grab
// and keeps the drag's movement for the release.
void dtVisualScrollBar::picTHUMB_MouseDown(QPointF position)
{
    const bool vertical = Vertical();
    const double along = vertical ? position.y() : position.x();
    const double edge = vertical ? picTHUMB->Twips().top() : picTHUMB->Twips().left();
    const auto grab = ToInt(along);
    const auto last = ToInt(edge + along);
    if (!grab || !last)
        return;
    (vertical ? fields.GrabY : fields.GrabX) = *grab;
    if (!fields.Dragging)
        fields.ThumbMoved = false;
    fields.Dragging = true;
    fields.LastThumbPos = *last;
}

// Moves the thumb with the mouse, pinned between the arrows, and sets Value
// from where it lands (straight into the field: no clamp, no Change).
void dtVisualScrollBar::picTHUMB_MouseMove(QPointF position)
{
    if (!fields.Dragging)
        return;
    const bool vertical = Vertical();
    const auto limits = ThumbDragLimits(vertical, BackArrow()->Twips(), ForwardArrow()->Twips(), picTHUMB->SizeTwips());
    const QRectF thumb = picTHUMB->Twips();
    const double edge = vertical ? thumb.top() : thumb.left();
    const double along = vertical ? position.y() : position.x();
    const qint32 grab = vertical ? fields.GrabY : fields.GrabX;
    const auto wanted = ToInt(edge + along - grab);
    if (!limits || !wanted)
        return;
    const qint32 pos = PinDragPosition(*wanted, *limits);
    if (pos == fields.LastThumbPos)
        return;
    // The box keeps its exact place, so the edge read back after the move is
    // `pos` itself; a zero travel or a range beyond 32 bits skips the step.
    const auto value = DragValue(pos, *limits, fields.Min, fields.Max);
    if (!value)
        return;
    QPointF place = thumb.topLeft();
    (vertical ? place.ry() : place.rx()) = pos;
    picTHUMB->MoveTo(place);
    fields.Value = *value;
    emit ScrollEvent();
    fields.LastThumbPos = pos;
    fields.ThumbMoved = true;
}

// Ends the drag; Change only when this drag moved the thumb.
void dtVisualScrollBar::picTHUMB_MouseUp()
{
    fields.Dragging = false;
    if (!fields.ThumbMoved)
        return;
    fields.ThumbMoved = false;
    emit Change();
}

void dtVisualScrollBar::StepValue(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return;
    SetValue(qint32(value));
}
