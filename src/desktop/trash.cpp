#include "desktop/trash.h"

#include "base/atomic_file.h"
#include "base/file_names.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A note's name is the entry's name and this; both must fit one folder entry.
const QByteArray InfoSuffix = QByteArrayLiteral(".trashinfo");
constexpr qsizetype MaxEntryBytes = 255;
constexpr int MaxNameAttempts = 10000;

bool LStat(const QByteArray &path, struct stat &info)
{
    return ::lstat(path.constData(), &info) == 0;
}

bool Exists(const QByteArray &path)
{
    struct stat info;
    return LStat(path, info);
}

QByteArray ParentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray Join(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The device of path, or of its nearest folder that exists (a trash not made yet).
std::optional<dev_t> DeviceOfNearest(QByteArray path)
{
    for (;;) {
        struct stat info;
        if (::stat(path.constData(), &info) == 0)
            return info.st_dev;
        if (path == "/")
            return std::nullopt;
        path = ParentOf(path);
    }
}

// The top folder of the mount that holds folder (a resolved path) on device.
QByteArray TopFolderOf(QByteArray folder, dev_t device)
{
    while (folder != "/") {
        const QByteArray parent = ParentOf(folder);
        struct stat info;
        if (::stat(parent.constData(), &info) != 0 || info.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

// A folder of this user's at path, made (mode 0700) when missing; never a
// link, which could lead the trash anywhere.
bool OwnFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    return LStat(path, info) && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

// path and the folders above it that are missing (a new account's data folder).
bool OwnFolders(const QByteArray &path)
{
    if (Exists(path))
        return OwnFolder(path);
    if (path != "/" && !Exists(ParentOf(path)) && !OwnFolders(ParentOf(path)))
        return false;
    return OwnFolder(path);
}

bool TrashFolders(const QByteArray &root)
{
    return OwnFolder(Join(root, "files")) && OwnFolder(Join(root, "info"));
}

// "" when neither the data folder nor the home is named by an absolute path.
QByteArray HomeTrash()
{
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!data.startsWith('/'))
        data = qgetenv("HOME") + "/.local/share";
    return data.startsWith('/') ? Join(data, "Trash") : QByteArray();
}

struct TrashFolder
{
    QByteArray root;
    QByteArray topFolder; // where its notes' paths start; empty for the home trash (absolute paths)
};

std::optional<TrashFolder> TrashFor(const QByteArray &folder, dev_t device)
{
    const QByteArray home = HomeTrash();
    if (!home.isEmpty() && DeviceOfNearest(home) == device) {
        if (OwnFolders(home) && TrashFolders(home))
            return TrashFolder{home, {}};
        return std::nullopt;
    }
    const QByteArray top = TopFolderOf(folder, device);
    const QByteArray uid = QByteArray::number(::geteuid());
    // A trash the administrator set up for all users: sticky, and no link.
    const QByteArray shared = Join(top, ".Trash");
    struct stat info;
    if (LStat(shared, info) && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
        const QByteArray mine = Join(shared, uid);
        if (OwnFolder(mine) && TrashFolders(mine))
            return TrashFolder{mine, top};
    }
    const QByteArray own = Join(top, ".Trash-" + uid);
    if (OwnFolder(own) && TrashFolders(own))
        return TrashFolder{own, top};
    return std::nullopt;
}

// The path a note names: absolute for the home trash, else from the top folder.
QByteArray NotedPath(const QByteArray &path, const TrashFolder &trash)
{
    if (trash.topFolder.isEmpty())
        return path;
    const QByteArray top = trash.topFolder.endsWith('/') ? trash.topFolder : trash.topFolder + '/';
    return path.startsWith(top) ? path.mid(top.size()) : path;
}

// rename(2) that never replaces what stands at `to`, even when it comes
// between a look and the move; false with errno EEXIST when something does.
bool MoveWithoutReplacing(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return MoveByLinking(from, to);
}

} // namespace

bool MoveByLinking(const QByteArray &from, const QByteArray &to)
{
    // link(2) makes the new name only where none is, in one step: nothing
    // that comes to stand at `to` meanwhile is replaced.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    if (::unlink(from.constData()) == 0)
        return true;
    const int error = errno;
    ::unlink(to.constData()); // the file stays where it was, under its one name
    errno = error;
    return false;
}

QByteArray TrashEntryName(const QByteArray &name, int attempt)
{
    const qsizetype dot = name.lastIndexOf('.');
    QByteArray stem = dot > 0 ? name.left(dot) : name;
    QByteArray extension = dot > 0 ? name.mid(dot) : QByteArray();
    const QByteArray number = attempt == 0 ? QByteArray() : '.' + QByteArray::number(attempt + 1);
    const qsizetype room = MaxEntryBytes - InfoSuffix.size() - number.size();
    if (extension.size() >= room)
        extension.clear();
    qsizetype keep = qMin(stem.size(), room - extension.size());
    while (keep > 0 && keep < stem.size() && (static_cast<unsigned char>(stem.at(keep)) & 0xC0) == 0x80)
        --keep; // not inside a UTF-8 character
    stem.truncate(keep);
    return stem + number + extension;
}

QByteArray TrashInfoText(const QByteArray &path, const QDateTime &deleted)
{
    return "[Trash Info]\nPath=" + path.toPercentEncoding("/")
           + "\nDeletionDate=" + deleted.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + '\n';
}

TrashResult MoveFileToTrash(const QString &path, TrashedFile &trashed)
{
    const QByteArray original = EncodeFileName(path);
    struct stat info;
    const QString resolvedPath = ResolvedPath(path);
    if (!LStat(original, info) || resolvedPath.isEmpty())
        return TrashResult::Failed;
    // The trash is the one of the mount the file really lies on; the note
    // names the path the user knows it by (links in its folders kept), where
    // a restore puts it back.
    const QByteArray resolved = EncodeFileName(resolvedPath);
    const std::optional<TrashFolder> trash = TrashFor(ParentOf(resolved), info.st_dev);
    if (!trash)
        return TrashResult::NoTrash;
    const QByteArray noted = original.startsWith('/') ? original : resolved;
    const QByteArray note = TrashInfoText(NotedPath(noted, *trash), QDateTime::currentDateTime());
    const QByteArray name = resolved.mid(resolved.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        const QByteArray entry = TrashEntryName(name, attempt);
        const QByteArray infoPath = Join(Join(trash->root, "info"), entry + InfoSuffix);
        const QByteArray filesPath = Join(Join(trash->root, "files"), entry);
        // The note is made first, and only where none is: it claims the name.
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return TrashResult::Failed;
        const bool written = WriteAll(fd, note);
        ::close(fd);
        if (written && MoveWithoutReplacing(original, filesPath)) {
            trashed = {path, DecodeFileName(filesPath), DecodeFileName(infoPath)};
            return TrashResult::Trashed;
        }
        const bool taken = written && errno == EEXIST; // a file without its note: another name
        ::unlink(infoPath.constData());
        if (!taken)
            return TrashResult::Failed;
    }
    return TrashResult::Failed;
}

RestoreResult RestoreFromTrash(const TrashedFile &trashed)
{
    const QByteArray from = EncodeFileName(trashed.trashedPath);
    const QByteArray to = EncodeFileName(trashed.originalPath);
    if (!Exists(from))
        return RestoreResult::Gone;
    if (!MoveWithoutReplacing(from, to))
        return errno == EEXIST ? RestoreResult::Occupied : RestoreResult::Failed;
    ::unlink(EncodeFileName(trashed.infoPath).constData());
    return RestoreResult::Restored;
}
