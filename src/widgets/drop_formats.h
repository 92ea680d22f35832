#pragma once
// What a control takes when something is dragged over it: a drop target names
// the data formats it understands and accepts a drag that offers any of them,
// so the pointer shows where a drop would do something.

#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;

// The format a drag from the file list carries: the file's full path, as the
// bytes the file system holds. It is taken only from a drag that started in
// this same process: another copy of the program offers it too, but its file
// comes in by its URL, as from any other program.
inline const QString FileDragFormat = QStringLiteral("application/x-reelbox-file");
// The format a desktop file manager offers for the files it drags.
inline const QString UriListFormat = QStringLiteral("text/uri-list");

// True when the drag (its data and, for FileDragFormat, its source) offers
// one of formats.
bool OffersAnyFormat(const QDropEvent *event, const QStringList &formats);

// Accepts the drag (as a copy) when it offers one of formats, else ignores it.
void AcceptDragOffering(QDragMoveEvent *event, const QStringList &formats);

// Takes the drop (as a copy) when it offers one of formats and says so; else
// ignores it, so the source sees the drop refused.
bool TakeDrop(QDropEvent *event, const QStringList &formats);
