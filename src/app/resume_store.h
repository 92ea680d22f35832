#pragma once
// Where each file and each list was left: an SQLite database beside the
// settings (the settings file and the list files never hold any of it, and
// deleting the database loses only these points). Written in WAL mode, so a
// kill loses no more than the write under way.
//
// A database that cannot be used (not a database, from a newer version of
// the program, unreadable, or found damaged when a point is read or written)
// is renamed aside, never deleted, and a fresh one started; SetAside() then
// names where it went, for telling the user once.
// A write that fails (read-only or full disk) ends writing for the session
// and is reported once through WriteFailed; reading and playing go on.

#include <QHash>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

// A file played to its end, or left within its last 5 % or last 10 s.
bool CountsAsWatched(double position, double duration);

struct FilePoint
{
    double position = 0;
    double duration = 0;
    bool watched = false;
};

// What tells a file from another one put under its name later.
struct FileIdentity
{
    qint64 size = 0;
    qint64 modified = 0; // ms since the epoch

    bool operator==(const FileIdentity &) const = default;
};
// The identity of the regular file at path; none for anything else. It asks
// the disk: not on the window's thread for many files.
std::optional<FileIdentity> IdentityOf(const QString &path);

// A point as stored, with the identity of the file it was stored for.
struct StoredPoint
{
    FilePoint point;
    FileIdentity identity;
};

// Where a list's continuous play stopped: the entry (0-based) and its path,
// the position in it and the entry's length, and when it went at random, the
// order (1-based entry numbers, [0] unused) and how far into it the entry
// was drawn (order[drawn] is entry + 1).
struct ListPoint
{
    int entry = 0;
    QString path;
    double position = 0;
    double duration = 0;
    std::vector<qint16> order;
    int drawn = 0;
};

class QSqlError;
class QSqlQuery;

class ResumeStore : public QObject
{
    Q_OBJECT
public:
    // Opens or makes the database at path.
    explicit ResumeStore(const QString &path, QObject *parent = nullptr);
    ~ResumeStore() override;

    // Where an unusable database was put aside last; empty when none was.
    QString SetAside() const { return setAside_; }

    // The point stored for path, when the file is there and still the one
    // stored (same size and modification time). Reading changes nothing.
    std::optional<FilePoint> File(const QString &path);
    // Stores path's point, for the file of that identity.
    void SaveFile(const QString &path, const FileIdentity &identity, const FilePoint &point);
    // Stores path's point for the file there now; nothing when there is none.
    void SaveFile(const QString &path, const FilePoint &point);
    void ForgetFile(const QString &path);
    // What is stored for path, without a look at the file.
    std::optional<StoredPoint> Stored(const QString &path);
    // Every file's point, in one reading, keyed by path; the files are not looked at.
    QHash<QString, StoredPoint> Files();

    std::optional<ListPoint> List(const QString &list);
    void SaveList(const QString &list, const ListPoint &point);
    void ForgetList(const QString &list);

    // The schema this program writes (PRAGMA user_version).
    static constexpr int SchemaVersion = 2;

signals:
    // The first write that failed; the message is for the user.
    void WriteFailed(const QString &message);
    // A database found damaged while in use went to `aside`; a fresh one is kept.
    void SetAsideNow(const QString &aside);

private:
    bool Open();
    // Runs a query that reads one row; false when there is none or it failed.
    bool Read(QSqlQuery &query);
    // Puts the database aside when error says it is damaged; true then.
    bool Damaged(const QSqlError &error);
    bool Migrate();
    // Renames the database and its journal aside; false when it could not be.
    bool PutAside();
    bool Execute(const QString &statement, const QVariantList &values);

    QString path_;
    QString connection_;
    QString setAside_;
    bool writing_ = true;
};
