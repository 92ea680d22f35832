#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

QString FolderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

QString TemporaryPathFor(const QString &path)
{
    return path + QStringLiteral(".tmp");
}

bool SyncFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return true; // the rename was written through
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file system that cannot sync a folder at all says so with EINVAL; there
    // is nothing more to be done there.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
#endif
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
        return SyncFolder(FolderOf(path));
    QFile::remove(temporary);
    return false;
}

bool RemoveFileDurably(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    return QFile::remove(path) && SyncFolder(FolderOf(path));
}
