#include "platform/list_box.h"

#include <QScrollBar>

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void ListBox::SetHorizontalExtent(int extent)
{
    extent_ = extent;
    updateGeometries();
}

QString ListBox::List(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

QStringList ListBox::Entries() const
{
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.append(item(i)->text());
    return entries;
}

void ListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    const int beyondView = extent_ - viewport()->width();
    if (beyondView > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setRange(0, beyondView);
}
