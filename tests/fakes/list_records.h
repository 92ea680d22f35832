#pragma once
// List-file records for paths, and the paths records name, for tests that
// write or read favourites through the records the list files hold.

#include "app/list_file.h"

#include <QList>
#include <QStringList>

inline QList<QByteArray> Records(const QStringList &paths)
{
    QList<QByteArray> records;
    for (const QString &path : paths)
        records.append(EncodeListRecord(path));
    return records;
}

inline QStringList Paths(const QList<QByteArray> &records)
{
    QStringList paths;
    for (const QByteArray &record : records)
        paths.append(DecodeListRecord(record));
    return paths;
}

inline QStringList Paths(const ListRecords &records)
{
    return Paths(records.ToList());
}
