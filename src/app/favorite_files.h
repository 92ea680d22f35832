#pragma once
// Which files may enter the favourites list: the video kinds a drop from the
// file manager is filtered by, the record every entry must fit so that its
// group's list file keeps it whole, the list's limit, and whether an entry's
// file can be reached now.

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

// At most this many names of one drop are looked at.
constexpr int MaxDroppedNames = 250;

// The text after the path's last "."; "" when it has none or a separator
// follows it (the dot belongs to a folder's name).
QString ExtensionOf(const QString &path);

// The local files among the first MaxDroppedNames URLs of a dropped
// "text/uri-list" whose names end in a video kind, in drop order and letter
// case, each as the bytes its URL spells (file_names.h). URLs that name no
// file of this machine soundly (other schemes or hosts, %00, %2F, relative
// paths; see file_url.h) are skipped.
QStringList DroppedVideoFiles(const QByteArray &uriList, const QString &hostName);

// Paths offered to the favourites, split by whether the list takes them.
struct FavoriteCandidates
{
    QStringList fitting;   // to be added
    QStringList tooLong;   // a list record cannot hold them (FitsListRecord)
    QStringList overLimit; // the list is full: past MaxListEntries
};
// room: how many more entries the list can hold.
FavoriteCandidates SplitFavoriteCandidates(const QStringList &paths, qsizetype room);

// The one message for the paths that were not added ("" when all were).
QString NotAddedMessage(const FavoriteCandidates &candidates);

// A count as the messages give it: 32,767.
QString CountText(qsizetype count);

// Whether a favourite's file can be played now.
enum class FavoriteReach {
    Playable,    // a regular file that can be read
    Missing,     // nothing there: a drive unplugged, a share away, a file moved
    NotPlayable, // something that is not a readable file (a folder, a FIFO, a device)
};
FavoriteReach ReachOf(const QString &path);

// What an entry that cannot be played shows when the pointer rests on it.
QString ReachNote(FavoriteReach reach);
// The colour of its text.
inline const QColor UnreachableText(140, 140, 140);
