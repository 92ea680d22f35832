#include "controls/focus_mark.h"

#include "widgets/accessible_widgets.h"

#include <QPainter>

namespace {
// The outer and inner frame colours of the focused button face.
const QColor Outer(8, 50, 92);
const QColor Inner(112, 226, 232);
constexpr int Margin = 2; // frame lines outside the surrounded area
} // namespace

FocusMark::FocusMark(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    HideFromScreenReaders(this);
    hide();
}

void FocusMark::Surround(const QRect &area)
{
    setGeometry(area.adjusted(-Margin, -Margin, Margin, Margin));
    // Only the lines: the control inside repaints without the mark.
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(Margin, Margin, -Margin, -Margin))));
    raise();
    show();
    update();
}

void FocusMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Outer);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Inner);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
