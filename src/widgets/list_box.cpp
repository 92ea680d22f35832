#include "widgets/list_box.h"

#include "base/file_names.h"
#include "widgets/accessible_lists.h"
#include "widgets/drop_formats.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// Makes the rows at least `extent` pixels wide (all as wide as the first:
// their size is uniform). The view then computes its own horizontal scroll
// range from the rows, so the list scrolls sideways over the whole extent
// without the view's range ever being overridden (overriding it inside the view's layout pass re-triggers that
// pass for ever).
class ExtentDelegate : public QStyledItemDelegate
{
public:
    ExtentDelegate(const int &extent, QObject *parent)
        : QStyledItemDelegate(parent)
        , extent_(extent)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(qMax(size.width(), extent_));
        return size;
    }

    QString displayText(const QVariant &value, const QLocale &) const override
    {
        return DisplayFileName(value.toString());
    }

private:
    const int &extent_;
};

} // namespace

ListBox::ListBox(QWidget *parent)
    : QListView(parent)
    , texts_(new QStringListModel(this))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every row is one line of the list's font: its height is measured once,
    // not once per entry.
    setUniformItemSizes(true);
    setItemDelegate(new ExtentDelegate(extent_, this));
    setModel(texts_);
    MakeListAccessible(this);
}

void ListBox::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::SelectionChange);
}

void ListBox::SetHorizontalExtent(int extent)
{
    if (extent == extent_)
        return;
    extent_ = extent;
    scheduleDelayedItemsLayout(); // the rows' widths changed
}

qint16 ListBox::ListCount() const
{
    return static_cast<qint16>(model()->rowCount());
}

qint16 ListBox::ListIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? static_cast<qint16>(current.row()) : qint16(-1);
}

void ListBox::SetListIndex(int index)
{
    setCurrentIndex(model()->index(index, 0));
}

bool ListBox::HasSelection() const
{
    return selectionModel()->hasSelection();
}

bool ListBox::AddItem(const QString &text)
{
    const int row = texts_->rowCount();
    if (row >= MaxListEntries || model() != texts_)
        return false;
    texts_->insertRows(row, 1);
    texts_->setData(texts_->index(row), text);
    return true;
}

QString ListBox::List(int index) const
{
    return model()->index(index, 0).data().toString();
}

QStringList ListBox::Entries() const
{
    QStringList entries;
    entries.reserve(ListCount());
    for (int i = 0; i < ListCount(); ++i)
        entries.append(List(i));
    return entries;
}

void ListBox::SetDropFormats(const QStringList &formats)
{
    dropFormats_ = formats;
    setAcceptDrops(!formats.isEmpty());
    // The scroll bars are part of the list: a drop on them is a drop on it.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->setAcceptDrops(!formats.isEmpty());
        bar->installEventFilter(this);
    }
}

bool ListBox::eventFilter(QObject *watched, QEvent *event)
{
    const bool scrollBar = watched == verticalScrollBar() || watched == horizontalScrollBar();
    switch (scrollBar ? event->type() : QEvent::None) {
    case QEvent::DragEnter: dragEnterEvent(static_cast<QDragEnterEvent *>(event)); return true;
    case QEvent::DragMove: dragMoveEvent(static_cast<QDragMoveEvent *>(event)); return true;
    case QEvent::Drop: dropEvent(static_cast<QDropEvent *>(event)); return true;
    default: return QListView::eventFilter(watched, event);
    }
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    // Below the last entry the selection stays what it was.
    if (!indexAt(event->position().toPoint()).isValid())
        setFocus(Qt::MouseFocusReason);
    else
        QListView::mousePressEvent(event);
    emit MouseDown(event->button());
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void ListBox::dragEnterEvent(QDragEnterEvent *event)
{
    AcceptDragOffering(event, dropFormats_);
}

void ListBox::dragMoveEvent(QDragMoveEvent *event)
{
    AcceptDragOffering(event, dropFormats_);
}

void ListBox::dropEvent(QDropEvent *event)
{
    if (TakeDrop(event, dropFormats_))
        emit DragDrop(event->mimeData(), event->source());
}
