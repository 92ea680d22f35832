#include "app/list_file.h"

#include "app/shared_procedures.h"
#include "base/atomic_file.h"
#include "base/file_names.h"
#include "base/program_name.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>
#include <utility>

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

QByteArrayView ListRecordPath(QByteArrayView record)
{
    const qsizetype nul = record.indexOf('\0');
    qsizetype end = nul < 0 ? record.size() : nul;
    qsizetype begin = 0;
    while (begin < end && record.at(begin) == ' ')
        ++begin;
    // Most of a record is its padding: passed over eight blanks at a time.
    constexpr quint64 Blanks = 0x2020202020202020;
    for (quint64 word; end - begin >= qsizetype(sizeof word); end -= sizeof word) {
        std::memcpy(&word, record.data() + end - sizeof word, sizeof word);
        if (word != Blanks)
            break;
    }
    while (end > begin && record.at(end - 1) == ' ')
        --end;
    return record.sliced(begin, end - begin);
}

bool IsBlankRecord(QByteArrayView record)
{
    for (const char c : record) {
        if (c != ' ')
            return c == '\0';
    }
    return true;
}

QString ListRecordText(QByteArrayView record)
{
    return DecodeFileName(ListRecordPath(record));
}

QString DecodeListRecord(QByteArrayView record)
{
    const QByteArrayView bytes = ListRecordPath(record);
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

ListRecords::ListRecords(QByteArray bytes)
    : bytes_(std::move(bytes))
{
    bytes_.truncate(bytes_.size() / ListRecordLength * ListRecordLength);
}

QList<QByteArray> ListRecords::ToList() const
{
    QList<QByteArray> records;
    records.reserve(size());
    for (qsizetype r = 0; r < size(); ++r)
        records.append(at(r).toByteArray());
    return records;
}

ListRecords ReadListRecords(const QString &fileName)
{
    std::optional<QByteArray> bytes = ReadRegularFile(fileName);
    return bytes ? ListRecords(std::move(*bytes)) : ListRecords();
}

GroupEntries GroupEntries::OfFile(const QString &fileName, qsizetype limit)
{
    GroupEntries group{ReadListRecords(fileName), {}};
    for (qsizetype r = 0; r < group.records.size() && qsizetype(group.entries.size()) < limit; ++r) {
        if (!IsBlankRecord(group.records.at(r)))
            group.entries.push_back({r, {}});
    }
    return group;
}

GroupEntries GroupEntries::OfPaths(const QStringList &paths)
{
    GroupEntries group;
    group.entries.reserve(paths.size());
    for (const QString &path : paths)
        group.entries.push_back({-1, path});
    return group;
}

QList<QByteArray> ReadListFile(const QString &fileName)
{
    return ReadListRecords(fileName).ToList();
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
