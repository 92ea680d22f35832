#include "app/list_file.h"

#include "app/shared_procedures.h"
#include "base/atomic_file.h"
#include "base/file_names.h"
#include "base/program_name.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString ListFileTitle(int group)
{
    return ProgramName + QStringLiteral("%1.rdm").arg(group, 2, 10, QLatin1Char('0'));
}

bool FitsListRecord(const QString &path)
{
    // Blanks at either end would be taken for the record's padding.
    return !path.isEmpty() && !path.startsWith(u' ') && !path.endsWith(u' ') && !path.contains(QChar(0))
           && EncodeFileName(path).size() <= ListRecordLength;
}

QByteArray EncodeListRecord(const QString &path)
{
    QByteArray record = EncodeFileName(path).left(ListRecordLength);
    record.append(ListRecordLength - record.size(), ' ');
    return record;
}

QByteArray ListRecordPath(const QByteArray &record)
{
    const qsizetype nul = record.indexOf('\0');
    qsizetype end = nul < 0 ? record.size() : nul;
    qsizetype begin = 0;
    while (begin < end && record.at(begin) == ' ')
        ++begin;
    while (end > begin && record.at(end - 1) == ' ')
        --end;
    return record.mid(begin, end - begin);
}

QString DecodeListRecord(const QByteArray &record)
{
    const QByteArray bytes = ListRecordPath(record);
    const QString asHeld = DecodeFileName(bytes);
    if (!HasForeignBytes(asHeld) || KindOfPath(asHeld) != PathKind::Missing)
        return asHeld;
    QStringDecoder decoder("Shift_JIS");
    const QString shiftJis = decoder.isValid() ? decoder.decode(bytes) : QString();
    return !shiftJis.isEmpty() && KindOfPath(shiftJis) != PathKind::Missing ? shiftJis : asHeld;
}

qint16 ListFileRecordCount(const QString &fileName)
{
    if (!FileExists(fileName))
        return 0;
    return static_cast<qint16>(qMin<qint64>(QFileInfo(fileName).size() / ListRecordLength, 32767));
}

QList<QByteArray> ReadListFile(const QString &fileName)
{
    const std::optional<QByteArray> bytes = ReadRegularFile(fileName);
    if (!bytes)
        return {};
    const qsizetype count = bytes->size() / ListRecordLength;
    QList<QByteArray> records;
    records.reserve(count);
    for (qsizetype r = 0; r < count; ++r)
        records.append(bytes->mid(r * ListRecordLength, ListRecordLength));
    return records;
}

bool ListFileUnreadable(const QString &fileName)
{
    return KindOfPath(fileName) == PathKind::File && !IsReadableFile(fileName);
}

bool WriteListFile(const QString &fileName, const QList<QByteArray> &records)
{
    if (records.isEmpty())
        return RemoveFileDurably(fileName);
    QByteArray bytes;
    bytes.reserve(records.size() * ListRecordLength);
    for (const QByteArray &record : records)
        bytes.append(record.leftJustified(ListRecordLength, ' ', true));
    return WriteFileAtomically(fileName, bytes);
}
