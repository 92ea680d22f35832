#include "app/list_file.h"

#include "app/shared_procedures.h"
#include "platform/atomic_file.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString ListFileTitle(int group)
{
    return QStringLiteral("Reelbox%1.rdm").arg(group, 2, 10, QLatin1Char('0'));
}

bool FitsListRecord(const QString &path)
{
    return EncodeFileText(path).size() <= ListRecordLength;
}

QByteArray EncodeListRecord(const QString &path)
{
    QByteArray record = EncodeFileText(path.left(ListRecordLength)).left(ListRecordLength);
    record.append(ListRecordLength - record.size(), ' ');
    return record;
}

QString DecodeListRecord(const QByteArray &record)
{
    qsizetype begin = 0;
    qsizetype end = record.size();
    while (begin < end && record.at(begin) == ' ')
        ++begin;
    while (end > begin && record.at(end - 1) == ' ')
        --end;
    return DecodeFileText(record.mid(begin, end - begin));
}

qint16 ListFileRecordCount(const QString &fileName)
{
    if (!FileExists(fileName))
        return 0;
    return static_cast<qint16>(qMin<qint64>(QFileInfo(fileName).size() / ListRecordLength, 32767));
}

QStringList ReadListFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype count = qMin<qsizetype>(bytes.size() / ListRecordLength, 32767);
    QStringList records;
    records.reserve(count);
    for (qsizetype r = 0; r < count; ++r)
        records.append(DecodeListRecord(bytes.mid(r * ListRecordLength, ListRecordLength)));
    return records;
}

bool ListFileUnreadable(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info{};
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;
    ::close(fd);
    return false;
}

bool WriteListFile(const QString &fileName, const QStringList &entries)
{
    if (entries.isEmpty())
        return RemoveFileDurably(fileName);
    QByteArray bytes;
    bytes.reserve(entries.size() * ListRecordLength);
    for (const QString &entry : entries)
        bytes.append(EncodeListRecord(entry));
    return WriteFileAtomically(fileName, bytes);
}
