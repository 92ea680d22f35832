#include "base/atomic_file.h"

#include "base/file_names.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More links in a row than this is a loop; the path is then saved as it is.
constexpr int MaxLinkHops = 40;

// Every path reaches the system as the bytes it stands for (file_names.h):
// a settings folder whose name is not UTF-8 is saved into like any other.
QByteArray Native(const QString &path)
{
    return EncodeFileName(path);
}

QString FolderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool Exists(const QString &path)
{
    struct stat info;
    return ::stat(Native(path).constData(), &info) == 0;
}

bool Remove(const QString &path)
{
    return ::unlink(Native(path).constData()) == 0;
}

// The one link at path read, relative targets taken from the link's folder;
// empty when path is no symbolic link.
QString LinkTarget(const QString &path)
{
    char buffer[4096];
    const ssize_t length = ::readlink(Native(path).constData(), buffer, sizeof buffer);
    if (length <= 0 || length == ssize_t(sizeof buffer))
        return {};
    const QString target = DecodeFileName(QByteArrayView(buffer, length));
    return target.startsWith(u'/') ? target : FolderOf(path) + u'/' + target;
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

} // namespace

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

namespace {

bool ProcessRuns(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// The regular files of folder, by name.
QStringList FilesIn(const QString &folder)
{
    QStringList files;
    DIR *dir = ::opendir(Native(folder).constData());
    if (!dir)
        return files;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat info;
        const QString name = DecodeFileName(entry->d_name);
        if (::lstat(Native(folder + u'/' + name).constData(), &info) == 0 && S_ISREG(info.st_mode))
            files.append(name);
    }
    ::closedir(dir);
    return files;
}

// Whether name is a temporary file of a save of target: set when it is, with
// the process that made it (0 for the old naming, which carries none).
std::optional<qint64> LeftoverOf(const QString &name, const QString &target)
{
    // The name's rest only is matched: a name may carry bytes that are not
    // UTF-8, which no pattern takes.
    static const QRegularExpression rest(QStringLiteral("^(?:\\.([0-9]{1,10})\\.[0-9]{1,10})?\\.tmp$"));
    if (!name.startsWith(target))
        return std::nullopt;
    const QRegularExpressionMatch match = rest.match(QStringView(name).mid(target.size()));
    if (!match.hasMatch())
        return std::nullopt;
    return match.hasCaptured(1) ? match.captured(1).toLongLong() : 0;
}

int RemoveLeftoversIn(const QString &folder, const QStringList &targets)
{
    int removed = 0;
    for (const QString &name : FilesIn(folder)) {
        for (const QString &target : targets) {
            const std::optional<qint64> process = LeftoverOf(name, target);
            // A save under way belongs to a process that runs; the old naming
            // carries no process, and no save of this version makes it.
            if (!process || (*process != 0 && ProcessRuns(*process)))
                continue;
            if (Remove(folder + u'/' + name))
                ++removed;
            break;
        }
    }
    if (removed > 0)
        SyncFolder(folder);
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
    Remove(temporary);
    return false;
}

bool RemoveFileDurably(const QString &path)
{
    const QString target = SaveTarget(path);
    if (!Exists(target))
        return true;
    return Remove(target) && SyncFolder(FolderOf(target));
}

int RemoveSaveLeftovers(const QString &path)
{
    return RemoveSaveLeftovers(QStringList{path});
}

int RemoveSaveLeftovers(const QStringList &paths)
{
    // Each folder the files are saved into is listed once, for all of them.
    QMap<QString, QStringList> names; // by folder
    for (const QString &path : paths) {
        const QString target = SaveTarget(path);
        names[FolderOf(target)].append(NameOf(target));
    }
    int removed = 0;
    for (auto folder = names.cbegin(); folder != names.cend(); ++folder)
        removed += RemoveLeftoversIn(folder.key(), folder.value());
    return removed;
}
