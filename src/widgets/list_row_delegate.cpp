#include "widgets/list_row_delegate.h"

#include "base/file_names.h"
#include "widgets/row_marks.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

// The tick: this wide, this far after the name.
constexpr int TickWidth = 7;
constexpr int TickGap = 3;
// The bar: this thick, on the row's last pixel rows.
constexpr int BarHeight = 2;

// The colour a mark is drawn in: the list's highlight, or its highlighted
// text on a selected row (which the highlight fills).
QColor MarkColour(const QStyleOptionViewItem &item)
{
    const bool selected = item.state.testFlag(QStyle::State_Selected);
    return item.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight);
}

void PaintTick(QPainter *painter, const QStyleOptionViewItem &item, int left)
{
    const QRect row = item.rect;
    const qreal middle = row.top() + row.height() / 2.0;
    QPainterPath tick;
    tick.moveTo(left, middle);
    tick.lineTo(left + TickWidth * 0.35, middle + 3);
    tick.lineTo(left + TickWidth, middle - 3.5);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(MarkColour(item), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(tick);
}

void PaintBar(QPainter *painter, const QStyleOptionViewItem &item, int left, int width, double fraction)
{
    const QRect track(left, item.rect.bottom() - BarHeight + 1, width, BarHeight);
    QColor faint = MarkColour(item);
    faint.setAlphaF(0.25);
    painter->fillRect(track, faint);
    painter->fillRect(QRect(track.topLeft(), QSize(qRound(width * qBound(0.0, fraction, 1.0)), BarHeight)),
                      MarkColour(item));
}

} // namespace

ListRowDelegate::ListRowDelegate(QObject *parent, const int *extent)
    : QStyledItemDelegate(parent)
    , extent_(extent)
{
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (extent_)
        size.setWidth(qMax(size.width(), *extent_));
    return size;
}

QString ListRowDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return DisplayFileName(value.toString());
}

void ListRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QVariant marked = index.data(RowMarkRole);
    if (!marked.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const RowMark mark = marked.value<RowMark>();
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *view = option.widget;
    const QStyle *style = view ? view->style() : QApplication::style();
    // Where the style puts the text, inside its margins.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).adjusted(margin, 0, -margin, 0);
    const QFontMetrics metrics(item.font);
    const bool watched = mark.kind == RowMark::Kind::Watched;
    // A tick needs its room after the name: a long name gives way to it.
    const int room = qMax(area.width() - (watched ? TickGap + TickWidth : 0), 0);
    if (metrics.horizontalAdvance(item.text) > room)
        item.text = metrics.elidedText(item.text, item.textElideMode, room);
    const int textWidth = qMin(metrics.horizontalAdvance(item.text), room);
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

    painter->save();
    if (watched)
        PaintTick(painter, item, area.left() + textWidth + TickGap);
    else
        PaintBar(painter, item, area.left(), textWidth, mark.fraction);
    painter->restore();
}
