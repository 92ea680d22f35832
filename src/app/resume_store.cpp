#include "app/resume_store.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <algorithm>

bool CountsAsWatched(double position, double duration)
{
    return duration > 0 && position >= duration - std::max(duration * 0.05, 10.0);
}

std::optional<FileIdentity> IdentityOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return FileIdentity{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

namespace {

const QString FileColumns = QStringLiteral("size, modified, position, duration, watched");

// A row read as FileColumns, from column first on.
StoredPoint StoredFrom(const QSqlQuery &row, int first)
{
    return {{row.value(first + 2).toDouble(), row.value(first + 3).toDouble(), row.value(first + 4).toBool()},
            {row.value(first).toLongLong(), row.value(first + 1).toLongLong()}};
}

// The steps from one schema version to the next: step k makes version k + 1.
const QStringList MigrationSteps = {
    QStringLiteral("CREATE TABLE files (path TEXT PRIMARY KEY, size INTEGER, modified INTEGER,"
                   " position REAL, duration REAL, watched INTEGER);"
                   "CREATE TABLE lists (list TEXT PRIMARY KEY, entry INTEGER, path TEXT, position REAL,"
                   " random_order TEXT, drawn INTEGER)"),
    QStringLiteral("ALTER TABLE lists ADD COLUMN duration REAL"),
};

QString OrderText(const std::vector<qint16> &order)
{
    QStringList numbers;
    for (qint16 n : order)
        numbers.append(QString::number(n));
    return numbers.join(u',');
}

std::vector<qint16> OrderFrom(const QString &text)
{
    std::vector<qint16> order;
    if (text.isEmpty())
        return order;
    for (const QString &n : text.split(u','))
        order.push_back(static_cast<qint16>(n.toInt()));
    return order;
}

// Makes schema version + 1 from version, wholly or not at all.
bool MigrateStep(QSqlDatabase &db, int version)
{
    if (!db.transaction())
        return false;
    QStringList statements = MigrationSteps[version].split(u';');
    statements.append(QStringLiteral("PRAGMA user_version=%1").arg(version + 1));
    QSqlQuery query(db);
    for (const QString &statement : statements)
        if (!query.exec(statement)) {
            db.rollback();
            return false;
        }
    if (db.commit())
        return true;
    db.rollback();
    return false;
}

} // namespace

ResumeStore::ResumeStore(const QString &path, QObject *parent)
    : QObject(parent)
    , path_(path)
    , connection_(QUuid::createUuid().toString())
{
    if (!Open()) {
        PutAside();
        if (!Open())
            writing_ = false; // no database at all: nothing is kept this session
    }
}

ResumeStore::~ResumeStore()
{
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

bool ResumeStore::Open()
{
    QSqlDatabase db = QSqlDatabase::contains(connection_)
                          ? QSqlDatabase::database(connection_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    if (QFileInfo::exists(path_) && !QFileInfo(path_).isReadable())
        return false;
    if (!db.open())
        return false;
    // Read before anything is written: a database put aside keeps its bytes.
    // Reading the schema reads the file's first page only, so a big database
    // opens as fast as a small one; damage further in shows when a point is
    // read or written, and the database is put aside then (Damaged).
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !check.next()) {
        db.close();
        return false;
    }
    if (!Migrate()) {
        db.close();
        return false;
    }
    // A disk that takes no writes keeps the old journal; the first write then tells.
    check.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    return true;
}

// Brings an older schema up to SchemaVersion; false for one from a newer
// program (which is then put aside as it is) or when a step fails.
bool ResumeStore::Migrate()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return false;
    int version = query.value(0).toInt();
    if (version > SchemaVersion)
        return false;
    for (; version < SchemaVersion; ++version)
        if (!MigrateStep(db, version))
            return false;
    return true;
}

bool ResumeStore::Damaged(const QSqlError &error)
{
    // SQLite's primary result codes, whatever extended code came with them.
    constexpr int Corrupt = 11, NotADatabase = 26;
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code != Corrupt && code != NotADatabase)
        return false;
    const bool putAside = PutAside();
    if (!putAside || !Open())
        writing_ = false;
    if (putAside)
        emit SetAsideNow(setAside_);
    return true;
}

bool ResumeStore::PutAside()
{
    QSqlDatabase::database(connection_, false).close();
    const QString aside = path_ + QStringLiteral(".unreadable-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(path_, aside))
        return false;
    for (const QString &companion : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::rename(path_ + companion, aside + companion);
    setAside_ = aside;
    return true;
}

bool ResumeStore::Execute(const QString &statement, const QVariantList &values)
{
    if (!writing_)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(statement);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    const QSqlError error = query.lastError();
    query.finish();
    if (Damaged(error))
        return false;
    writing_ = false;
    emit WriteFailed(
        QStringLiteral("再生位置を保存できません (%1)。この後の再生位置は記録されません。").arg(error.text()));
    return false;
}

bool ResumeStore::Read(QSqlQuery &query)
{
    if (query.exec() && query.next())
        return true;
    const QSqlError error = query.lastError();
    query.finish();
    Damaged(error);
    return false;
}

std::optional<FilePoint> ResumeStore::File(const QString &path)
{
    const std::optional<StoredPoint> stored = Stored(path);
    if (!stored)
        return std::nullopt;
    // A file not there now (a drive unplugged) keeps its point for when it
    // is back; a replaced one is overwritten once it plays.
    if (IdentityOf(path) != stored->identity)
        return std::nullopt;
    return stored->point;
}

std::optional<StoredPoint> ResumeStore::Stored(const QString &path)
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT %1 FROM files WHERE path = ?").arg(FileColumns));
    query.addBindValue(path);
    if (!Read(query))
        return std::nullopt;
    return StoredFrom(query, 0);
}

QHash<QString, StoredPoint> ResumeStore::Files()
{
    QHash<QString, StoredPoint> files;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT path, %1 FROM files").arg(FileColumns)))
        return files;
    while (query.next())
        files.insert(query.value(0).toString(), StoredFrom(query, 1));
    return files;
}

void ResumeStore::SaveFile(const QString &path, const FileIdentity &identity, const FilePoint &point)
{
    Execute(QStringLiteral("INSERT OR REPLACE INTO files VALUES (?, ?, ?, ?, ?, ?)"),
            {path, identity.size, identity.modified, point.position, point.duration, int(point.watched)});
}

void ResumeStore::SaveFile(const QString &path, const FilePoint &point)
{
    if (const std::optional<FileIdentity> identity = IdentityOf(path))
        SaveFile(path, *identity, point);
}

void ResumeStore::ForgetFile(const QString &path)
{
    Execute(QStringLiteral("DELETE FROM files WHERE path = ?"), {path});
}

std::optional<ListPoint> ResumeStore::List(const QString &list)
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(
        QStringLiteral("SELECT entry, path, position, duration, random_order, drawn FROM lists WHERE list = ?"));
    query.addBindValue(list);
    if (!Read(query))
        return std::nullopt;
    return ListPoint{query.value(0).toInt(),
                     query.value(1).toString(),
                     query.value(2).toDouble(),
                     query.value(3).toDouble(),
                     OrderFrom(query.value(4).toString()),
                     query.value(5).toInt()};
}

void ResumeStore::SaveList(const QString &list, const ListPoint &point)
{
    Execute(QStringLiteral("INSERT OR REPLACE INTO lists (list, entry, path, position, duration, random_order, drawn)"
                           " VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {list, point.entry, point.path, point.position, point.duration, OrderText(point.order), point.drawn});
}

void ResumeStore::ForgetList(const QString &list)
{
    Execute(QStringLiteral("DELETE FROM lists WHERE list = ?"), {list});
}
