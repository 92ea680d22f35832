#include "widgets/drop_formats.h"

#include <QDragMoveEvent>
#include <QMimeData>

bool OffersAnyFormat(const QDropEvent *event, const QStringList &formats)
{
    const QMimeData *data = event->mimeData();
    if (!data)
        return false;
    for (const QString &format : formats)
        if (data->hasFormat(format) && (format != FileDragFormat || event->source()))
            return true;
    return false;
}

void AcceptDragOffering(QDragMoveEvent *event, const QStringList &formats)
{
    if (!OffersAnyFormat(event, formats)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

bool TakeDrop(QDropEvent *event, const QStringList &formats)
{
    if (!OffersAnyFormat(event, formats)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}
