#pragma once
// Finding favourites whose files were moved: for each entry whose file is
// gone, the folders under its nearest folder that is still there (on the same
// mount, to a depth of six, hidden folders and links to folders left out) are
// searched for files of the same name and the size the file had when it was
// last seen (favorite_sizes.h). A file of the name but another size is never
// taken; two or more equal ones are reported as ambiguous and the entry is
// left as it is. Where no size was ever seen, the name alone decides, and
// only when exactly one file has it. The search runs off the user-interface
// thread.

#include "app/favorite_sizes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

class QThread;

constexpr int MovedFileSearchDepth = 6;

// What the search found for one missing entry.
struct MovedFile
{
    QString oldPath;
    QStringList candidates;  // files of its name and size; one means found
    bool byNameOnly = false; // its size was never seen, so only the name was compared

    bool Found() const { return candidates.size() == 1; }
    bool operator==(const MovedFile &) const = default;
};

// The folder the search for path's file starts in: its nearest ancestor that
// is a folder; "" when that would be the root of the whole system (too wide).
QString NearestExistingFolder(const QString &path);

struct FoundFile
{
    QString path;
    qint64 size = 0;
    bool operator==(const FoundFile &) const = default;
};

// The regular files under folder, by name (their bytes), at most depth folders
// down, without leaving folder's file system, entering hidden folders or
// following links. Stops early, with what it has, once cancel is set;
// visited is told each folder's count as it goes.
QMultiHash<QByteArray, FoundFile> FilesUnder(const QString &folder, int depth, const std::atomic_bool &cancel,
                                             const std::function<void(int folders)> &visited = {});

// An entry whose file is gone, the folder its search starts in, and the size
// its file had (-1: never seen).
struct MissingEntry
{
    QString path;
    QString folder;
    qint64 size = -1;
};

// What the files found under each folder (by name, as FilesUnder gives them)
// mean for each missing entry: the files of its name and size under its own
// folder, in path order. Entries without any are left out.
QList<MovedFile> MatchMovedFiles(const QList<MissingEntry> &missing,
                                 const QHash<QString, QMultiHash<QByteArray, FoundFile>> &searched);

// records with every record naming a key of moves replaced by its new path's
// record; all others kept byte for byte. changed tells whether any was.
QList<QByteArray> MendRecords(const QList<QByteArray> &records, const QHash<QByteArray, QString> &moves, bool &changed);

// The search for the files of missing entries, on a thread of its own. Done
// is delivered on the creating thread; destroying the search cancels it and
// waits for its thread.
class MovedFileSearch : public QObject
{
    Q_OBJECT
public:
    // paths: the entries to look at; only those whose files are gone are
    // searched for. sizes: what their files were seen to hold.
    MovedFileSearch(const QStringList &paths, const FileSizes &sizes, QObject *parent = nullptr);
    ~MovedFileSearch() override;
    void Cancel() { cancel_ = true; }

signals:
    void Progress(int folders);
    void Done(const QList<MovedFile> &found, bool cancelled);

private:
    std::atomic_bool cancel_{false};
    QThread *thread_;
};
