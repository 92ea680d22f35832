#pragma once
// The favourites group list files: one file per group in the settings folder,
// "Reelbox" + two-digit group number + ".rdm", holding one fixed 255-byte record
// per entry (the path left-aligned and padded with blanks; no header, no
// terminator). A group without entries has no file.

#include <QByteArray>
#include <QString>
#include <QStringList>

constexpr int ListRecordLength = 255;

// "ReelboxNN.rdm" for group 0..19.
QString ListFileTitle(int group);


// True when path's stored form fits one record whole (255 bytes of UTF-8);
// a longer path would be cut and no longer name its file.
bool FitsListRecord(const QString &path);

// One record: the path's UTF-8 bytes cut to 255 and padded with blanks to 255.
QByteArray EncodeListRecord(const QString &path);

// A record's path: decoded (UTF-8, or Shift_JIS for files written on Japanese
// Windows) with leading and trailing blanks removed.
QString DecodeListRecord(const QByteArray &record);

// Whole records in the file: its length divided by 255; 0 when it cannot be read.
qint16 ListFileRecordCount(const QString &fileName);

// Every record of the file, in order; a trailing partial record is ignored.
QStringList ReadListFile(const QString &fileName);

// True when fileName is a file that is there but cannot be read (no permission):
// what it holds is unknown, so it must not be written over or removed.
bool ListFileUnreadable(const QString &fileName);

// Stores entries as the file's records, replacing any old file in one step; an
// empty list removes the file. Returns false when the new content did not reach
// disk, in which case the old file is still whole.
bool WriteListFile(const QString &fileName, const QStringList &entries);
