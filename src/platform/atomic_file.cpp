#include "platform/atomic_file.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {

bool ReplaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(from.utf16()), reinterpret_cast<LPCWSTR>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    // rename(2) replaces the target in one step: readers see the old or the new file.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

bool WriteAndSync(QFile &file, const QByteArray &bytes)
{
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
#ifndef Q_OS_WIN
    if (::fsync(file.handle()) != 0)
        return false;
#endif
    return true;
}

} // namespace

QString TemporaryPathFor(const QString &path)
{
    return path + QStringLiteral(".tmp");
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QString temporary = TemporaryPathFor(path);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = WriteAndSync(file, bytes);
    file.close();
    if (written && ReplaceFile(temporary, path))
        return true;
    QFile::remove(temporary);
    return false;
}
