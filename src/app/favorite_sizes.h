#pragma once
// The size each favourite's file had when it was last seen, kept in the
// program's database beside the settings (a table of its own; the list files
// hold only paths and stay as they are). A moved file is then known by its
// name and its size together. Losing the table loses only this help: a
// failed write ends writing for the session without a word, since the
// database's other user already tells of a disk that takes no writes.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// Sizes by path, as the file system spells it (file_names.h).
using FileSizes = QHash<QByteArray, qint64>;

struct SeenFile
{
    QString path;
    qint64 size = 0;
};

class FavoriteSizes
{
public:
    // Opens the database at path, which another store may have open too.
    explicit FavoriteSizes(const QString &path);
    ~FavoriteSizes();
    FavoriteSizes(const FavoriteSizes &) = delete;
    FavoriteSizes &operator=(const FavoriteSizes &) = delete;

    const FileSizes &All() const { return sizes_; }
    std::optional<qint64> Size(const QString &path) const;

    // Keeps what was seen; only sizes that changed are written, in one step.
    void Record(const QList<SeenFile> &files);
    // The database was put aside and a fresh one made at the same path:
    // what is written from now on goes to that one, the one aside is left alone.
    void Reopen();

private:
    // Makes the table where missing; false when it cannot be written.
    bool MakeTable();

    QString connection_;
    FileSizes sizes_;
    bool writing_ = false;
};
