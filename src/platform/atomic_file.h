#pragma once
// Saving a file so that a failure never leaves it half written: the new content
// goes to a temporary file beside it ("<name>.tmp"), which is then renamed over
// the old file in one step. A failed save leaves the old file as it was. The
// folder is synced after the rename, so a save reported as done survives a
// power cut.

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes. Returns false, and leaves the old file
// untouched, when any step fails (folder not writable, disk full, a folder
// standing where the temporary file must go, ...). Also false when the folder
// could not be synced after the rename: the new content is in place then, but
// may not outlive a power cut.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// Removes the file at path, if there is one, and syncs its folder. False when
// the file is still there or the removal may not outlive a power cut.
bool RemoveFileDurably(const QString &path);

// Writes the folder's entries (new names, renames, removals) to disk.
bool SyncFolder(const QString &folder);

// The temporary file name a save of path writes first.
QString TemporaryPathFor(const QString &path);
