#pragma once
// Saving a file so that a failure never leaves it half written: the new content
// goes to a temporary file beside it, which is then renamed over the old file in
// one step. A failed save leaves the old file as it was. The folder is synced
// after the rename, so a save reported as done survives a power cut.
//
// A save replaces what the file is to the user: a symbolic link is written
// through to the file it names (the link stays), and the new file keeps the old
// one's permissions and, where the process may set them, its owner and group.
// The temporary file is "<name>.<process id>.<number>.tmp", made only if no file
// of that name exists, so two processes saving the same file never share one;
// what a killed save leaves behind is found by that name.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Replaces the file at path with bytes. Returns false, and leaves the old file
// untouched, when any step fails (folder not writable, disk full, a folder
// standing where the file must go, ...). Also false when the folder could not
// be synced after the rename: the new content is in place then, but may not
// outlive a power cut.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// Writes all of bytes to the open file fd (writes cut short or interrupted
// are carried on) and syncs it to disk. False when any of it failed.
bool WriteAll(int fd, const QByteArray &bytes);

// Removes the file at path (through a symbolic link: the file it names), if
// there is one, and syncs its folder. False when the file is still there or the
// removal may not outlive a power cut.
bool RemoveFileDurably(const QString &path);

// Writes the folder's entries (new names, renames, removals) to disk.
bool SyncFolder(const QString &folder);

// The file a save of path writes: where the chain of symbolic links starting at
// path ends (path itself when it is no link). The file need not exist.
QString SaveTarget(const QString &path);

// Removes the temporary files that saves of path left behind when their process
// was killed or crashed: files beside SaveTarget(path) named as a save names
// them (or "<name>.tmp", as earlier versions did) whose process is no longer
// running. Nothing else is touched, and never the file of a save under way.
// Returns how many were removed.
int RemoveSaveLeftovers(const QString &path);
// The same for every one of paths, each folder they are saved into listed once.
int RemoveSaveLeftovers(const QStringList &paths);
