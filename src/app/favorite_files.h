#pragma once
// Which files may enter the favourites list: the video kinds a drop from the
// file manager is filtered by, and the record length every entry must fit so
// that its group's list file keeps it whole.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// At most this many names of one drop are looked at.
constexpr int MaxDroppedNames = 250;

// The text after the path's last "."; "" when it has none or a separator
// follows it (the dot belongs to a folder's name).
QString ExtensionOf(const QString &path);

// True for the kinds the program plays: "RAM", "RM", "AVI", "MPEG", "MPG",
// "ASF", "WMV", "DIVX", "DAT", "RMVB", without regard to letter case.
bool IsVideoExtension(const QString &extension);

// The local files among the first MaxDroppedNames dropped names whose names
// end in a video kind, in drop order and letter case. Locations that are not
// local files (a network browser's sftp:, smb: or http: names) are skipped.
QStringList DroppedVideoFiles(const QList<QUrl> &dropped);

// Paths offered to the favourites, split by whether the list file can hold them.
struct FavoriteCandidates
{
    QStringList fitting;  // to be added
    QStringList tooLong;  // longer than one record: never added
};
FavoriteCandidates SplitByRecordFit(const QStringList &paths);

// What the user is told when some paths could not be added ("" when all could).
QString TooLongMessage(const QStringList &tooLong);
