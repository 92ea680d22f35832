#include "widgets/list_box.h"

#include "widgets/accessible_lists.h"
#include "widgets/drop_formats.h"
#include "widgets/list_row_delegate.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QScrollBar>

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
    setItemDelegate(new ListRowDelegate(this, &extent_));
    setModel(texts_);
    MakeListAccessible(this);
}

void ListBox::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::SelectionChange);
    TellDescriptionChanges(this);
}

// The rows are made at least extent wide (ListRowDelegate) and the view
// computes its own sideways range from them: overriding the range inside the
// view's layout pass would start that pass again for ever.
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
