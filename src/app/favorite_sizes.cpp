#include "app/favorite_sizes.h"

#include "base/file_names.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

FavoriteSizes::FavoriteSizes(const QString &path)
    : connection_(QUuid::createUuid().toString())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path);
    if (!db.open())
        return;
    writing_ = MakeTable();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT path, size FROM favorite_sizes")))
        return;
    while (query.next())
        sizes_.insert(query.value(0).toByteArray(), query.value(1).toLongLong());
}

// A table of its own, made when missing: the schema version of the
// database belongs to the resume points and is not touched.
bool FavoriteSizes::MakeTable()
{
    return QSqlQuery(QSqlDatabase::database(connection_, false))
        .exec(QStringLiteral("CREATE TABLE IF NOT EXISTS favorite_sizes (path BLOB PRIMARY KEY, size INTEGER)"));
}

void FavoriteSizes::Reopen()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    db.close();
    writing_ = db.open() && MakeTable();
}

FavoriteSizes::~FavoriteSizes()
{
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

std::optional<qint64> FavoriteSizes::Size(const QString &path) const
{
    const auto size = sizes_.constFind(EncodeFileName(path));
    if (size == sizes_.cend())
        return std::nullopt;
    return *size;
}

void FavoriteSizes::Record(const QList<SeenFile> &files)
{
    QList<std::pair<QByteArray, qint64>> changed;
    for (const SeenFile &file : files) {
        const QByteArray path = EncodeFileName(file.path);
        const auto known = sizes_.constFind(path);
        if (known != sizes_.cend() && *known == file.size)
            continue;
        sizes_.insert(path, file.size);
        changed.append({path, file.size});
    }
    if (changed.isEmpty() || !writing_)
        return;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    db.transaction();
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO favorite_sizes VALUES (?, ?)"));
    for (const auto &[path, size] : changed) {
        query.addBindValue(path);
        query.addBindValue(size);
        if (!query.exec()) {
            db.rollback();
            writing_ = false;
            return;
        }
    }
    writing_ = db.commit();
}
