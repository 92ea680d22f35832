#pragma once
// The desktop's trash as file managers share it: a file goes to the trash of
// the file system it lies on, moved there by rename(2) (never copied), under
// a name of its own in files/, with a note in info/<name>.trashinfo telling
// where it came from (the bytes of its path, percent-encoded) and when. The
// home trash ($XDG_DATA_HOME/Trash) takes files on the home's file system;
// other mounts keep their own trash at their top folder ($topdir/.Trash/$uid
// where the administrator made a sticky .Trash, else $topdir/.Trash-$uid).
// Names are taken byte for byte (file_names.h), so a name that is not UTF-8
// goes to the trash and comes back as it was.

#include <QByteArray>
#include <QDateTime>
#include <QString>

// A file in the trash, as MoveFileToTrash put it there.
struct TrashedFile
{
    QString originalPath; // where it was, as the caller named it
    QString trashedPath;  // <trash>/files/<name>
    QString infoPath;     // <trash>/info/<name>.trashinfo
};

enum class TrashResult {
    Trashed,
    NoTrash, // the file's file system has no trash and none can be made there
    Failed,  // the file is missing, or could not be moved (it stays where it was)
};

// Moves the file (or link, or folder) at path into the trash of its file
// system. On Trashed, `trashed` tells where it went.
TrashResult MoveFileToTrash(const QString &path, TrashedFile &trashed);

enum class RestoreResult {
    Restored,
    Occupied, // something now stands at the original path: nothing was moved
    Gone,     // the file is no longer in the trash (restored or emptied elsewhere)
    Failed,   // the original folder is gone or cannot be written
};

// Puts a trashed file back at its original path, never over anything that
// stands there now, and removes its note.
RestoreResult RestoreFromTrash(const TrashedFile &trashed);

// Moves from to `to` by a second name made with link(2), then the first
// removed: for file systems whose rename(2) cannot refuse to replace. Never
// replaces what stands at `to` (false, errno EEXIST); a folder, or a file
// system without hard links, is refused (false) and stays where it was.
bool MoveByLinking(const QByteArray &from, const QByteArray &to);

// The name a file called `name` (its bytes) gets in the trash at the given
// attempt: the name itself first, then "stem.2.ext", "stem.3.ext", ...; cut
// (at a character's boundary) so that its note's name still fits a folder entry.
QByteArray TrashEntryName(const QByteArray &name, int attempt);

// The text of a .trashinfo note: the path's bytes percent-encoded but for
// the unreserved characters and "/", and the deletion time, local, to the second.
QByteArray TrashInfoText(const QByteArray &path, const QDateTime &deleted);
