#pragma once
// A store of resume points filled for a benchmark: the schema made by the
// store itself, then rows written straight into its table of files, all in
// one transaction.

#include "app/resume_store.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <functional>

namespace bench {

// Writes `rows` file points into the store at path; row(i) gives point i's
// values: path, size, modification time, position, length, watched.
inline void FillResumeStore(const QString &path, int rows, const std::function<QVariantList(int)> &row)
{
    ResumeStore{path}; // the schema
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(path);
        db.open();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO files VALUES (?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < rows; ++i) {
            for (const QVariant &value : row(i))
                insert.addBindValue(value);
            insert.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

} // namespace bench
