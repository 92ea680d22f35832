#pragma once
// Saving a file so that a failure never leaves it half written: the new content
// goes to a temporary file beside it ("<name>.tmp"), which is then renamed over
// the old file in one step. A failed save leaves the old file as it was.

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes. Returns false, and leaves the old file
// untouched, when any step fails (folder not writable, disk full, a folder
// standing where the temporary file must go, ...).
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// The temporary file name a save of path writes first.
QString TemporaryPathFor(const QString &path);
