#pragma once
// The favourites group list files: one file per group in the settings folder,
// "Reelbox" + two-digit group number + ".rdm", holding one fixed 255-byte record
// per entry (the path left-aligned and padded with blanks; no header, no
// terminator). A group without entries has no file.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

constexpr int ListRecordLength = 255;

// "ReelboxNN.rdm" for group 0..19.
QString ListFileTitle(int group);

// True when a record can hold path soundly: its bytes (file_names.h) fit in
// 255 and it has no blank at either end, which would read as padding.
bool FitsListRecord(const QString &path);

// One record: the path's bytes (UTF-8, or the bytes of a name that is not)
// cut to 255 and padded with blanks to 255.
QByteArray EncodeListRecord(const QString &path);

// The path bytes a record holds: those before its first NUL, with blanks at
// either end removed (a view into record).
QByteArrayView ListRecordPath(QByteArrayView record);

// True when a record names nothing: blanks alone up to its end or its first NUL.
bool IsBlankRecord(QByteArrayView record);

// The path a record's bytes spell (file_names.h), without a look at the disk.
QString ListRecordText(QByteArrayView record);

// The path a record names: its bytes as the file system holds them, UTF-8 or
// not. A list written on Japanese Windows holds Shift_JIS; where its files
// now have UTF-8 names, the record's bytes name nothing, and its Shift_JIS
// reading is taken when that names something.
QString DecodeListRecord(QByteArrayView record);

// Whole records in the file: its length divided by 255 (at most 32767); 0 when
// it cannot be read.
qint16 ListFileRecordCount(const QString &fileName);

// The whole records of a list file in one buffer, each record a view into it:
// a list of 32,767 entries is read without a copy per record. Copies share
// the buffer.
class ListRecords
{
public:
    ListRecords() = default;
    // The whole records of bytes; a trailing partial record is ignored.
    explicit ListRecords(QByteArray bytes);

    qsizetype size() const { return bytes_.size() / ListRecordLength; }
    bool isEmpty() const { return bytes_.isEmpty(); }
    // Record i, 0 <= i < size().
    QByteArrayView at(qsizetype i) const
    {
        return QByteArrayView(bytes_).sliced(i * ListRecordLength, ListRecordLength);
    }
    // Every record, each in an array of its own.
    QList<QByteArray> ToList() const;

private:
    QByteArray bytes_;
};

// A group's entries as they are read off the window's thread: each one of
// the records of its list file (shared with whoever read them, not copied)
// or, for an entry added since the file was read, its path.
struct GroupEntries
{
    struct Entry
    {
        qsizetype record = -1; // in records; -1 for an entry known by its path
        QString path;
    };
    ListRecords records;
    std::vector<Entry> entries;

    // The records of the file that name something (IsBlankRecord), in
    // order, at most limit of them: the entries its list shows.
    static GroupEntries OfFile(const QString &fileName, qsizetype limit);
    static GroupEntries OfPaths(const QStringList &paths);
};

// Every whole record of the file, in order, as it is on disk; a trailing
// partial record is ignored. None when the file is missing, unreadable or not
// a regular file (a FIFO is never opened to wait for a writer).
ListRecords ReadListRecords(const QString &fileName);
// The same, each record in an array of its own, for a caller that edits them.
QList<QByteArray> ReadListFile(const QString &fileName);

// True when fileName is a file that is there but cannot be read (no permission):
// what it holds is unknown, so it must not be written over or removed.
bool ListFileUnreadable(const QString &fileName);

// Stores records (255 bytes each) as the file, replacing any old file in one
// step; no records removes the file. Returns false when the new content did
// not reach disk, in which case the old file is still whole.
bool WriteListFile(const QString &fileName, const QList<QByteArray> &records);
