#pragma once
// What a control takes when something is dragged over it: a drop target names
// the data formats it understands and accepts a drag that offers any of them,
// so the pointer shows where a drop would do something.

#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

// The format a drag from the file list carries: the file's full path, UTF-8.
// Only this program knows it, so other programs ignore such a drop.
inline const QString FileDragFormat = QStringLiteral("application/x-reelbox-file");
// The format a desktop file manager offers for the files it drags.
inline const QString UriListFormat = QStringLiteral("text/uri-list");

// True when data offers one of formats.
bool OffersAnyFormat(const QMimeData *data, const QStringList &formats);

// Accepts the drag (as a copy) when it offers one of formats, else ignores it.
void AcceptDragOffering(QDragMoveEvent *event, const QStringList &formats);

// Takes the drop (as a copy) when it offers one of formats and says so; else
// ignores it, so the source sees the drop refused.
bool TakeDrop(QDropEvent *event, const QStringList &formats);
