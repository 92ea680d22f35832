#include "base/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More links in a row than this is a loop; the path is then saved as it is.
constexpr int MaxLinkHops = 40;

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

QString FolderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

QString NameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The one link at path read, relative targets taken from the link's folder;
// empty when path is no symbolic link.
QString LinkTarget(const QString &path)
{
    char buffer[4096];
    const ssize_t length = ::readlink(Native(path).constData(), buffer, sizeof buffer);
    if (length <= 0 || length == ssize_t(sizeof buffer))
        return {};
    const QString target = QFile::decodeName(QByteArray(buffer, length));
    return QDir::isAbsolutePath(target) ? target : FolderOf(path) + u'/' + target;
}

// A file of its own beside target, opened for writing: "<name>.<pid>.<n>.tmp"
// with the first n no file has yet. -1 when none can be made.
int CreateTemporaryBeside(const QString &target, QString &temporary)
{
    static std::atomic<unsigned> counter{0};
    const QString stem = target + u'.' + QString::number(::getpid()) + u'.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + QString::number(counter++) + QStringLiteral(".tmp");
        const int fd = ::open(Native(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The new file stands for the old one: same permissions, and the same owner
// and group where this process may give them (root saving a user's file).
void TakeOverAttributes(int fd, const QString &target)
{
    struct stat old
    {
    };
    if (::stat(Native(target).constData(), &old) != 0 || !S_ISREG(old.st_mode))
        return;
    // Where neither owner and group nor the group alone may be given, the file
    // is the saving user's, as any new file would be.
    const bool owned = ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    const bool moded = ::fchmod(fd, old.st_mode & 07777) == 0;
    Q_UNUSED(owned);
    Q_UNUSED(moded);
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        left -= written;
    }
    return ::fsync(fd) == 0;
}

bool ProcessRuns(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

int RemoveLeftoversIn(const QDir &folder, const QStringList &escapedNames)
{
    const QRegularExpression leftover(
        QStringLiteral("^(?:%1)(?:\\.([0-9]{1,10})\\.[0-9]{1,10})?\\.tmp$").arg(escapedNames.join(u'|')));
    int removed = 0;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = leftover.match(name);
        if (!match.hasMatch())
            continue;
        // A save under way belongs to a process that runs; the old naming
        // carries no process, and no save of this version makes it.
        if (match.hasCaptured(1) && ProcessRuns(match.captured(1).toLongLong()))
            continue;
        if (QFile::remove(folder.filePath(name)))
            ++removed;
    }
    if (removed > 0)
        SyncFolder(folder.path());
    return removed;
}

} // namespace

QString SaveTarget(const QString &path)
{
    QString current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        const QString next = LinkTarget(current);
        if (next.isEmpty())
            return current;
        current = next;
    }
    return path;
}

bool SyncFolder(const QString &folder)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A file system that cannot sync a folder at all says so with EINVAL; there
    // is nothing more to be done there.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QString target = SaveTarget(path);
    QString temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return false;
    TakeOverAttributes(fd, target);
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    // rename(2) replaces the target in one step: readers see the old or the new file.
    if (written && closed && std::rename(Native(temporary).constData(), Native(target).constData()) == 0)
        return SyncFolder(FolderOf(target));
    QFile::remove(temporary);
    return false;
}

bool RemoveFileDurably(const QString &path)
{
    const QString target = SaveTarget(path);
    if (!QFileInfo::exists(target))
        return true;
    return QFile::remove(target) && SyncFolder(FolderOf(target));
}

int RemoveSaveLeftovers(const QString &path)
{
    return RemoveSaveLeftovers(QStringList{path});
}

int RemoveSaveLeftovers(const QStringList &paths)
{
    // Each folder the files are saved into is listed once, for all of them.
    QMap<QString, QStringList> names; // by folder, escaped for a pattern
    for (const QString &path : paths) {
        const QString target = SaveTarget(path);
        names[FolderOf(target)].append(QRegularExpression::escape(NameOf(target)));
    }
    int removed = 0;
    for (auto folder = names.cbegin(); folder != names.cend(); ++folder)
        removed += RemoveLeftoversIn(QDir(folder.key()), folder.value());
    return removed;
}
