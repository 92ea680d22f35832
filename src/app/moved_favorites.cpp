#include "app/moved_favorites.h"

#include "app/list_file.h"
#include "base/file_names.h"

#include <QSet>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace {

// The progress is told every this many folders, not for each one.
constexpr int ProgressStep = 32;

struct FolderId
{
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId &) const = default;
};

size_t qHash(const FolderId &id, size_t seed = 0)
{
    return ::qHash(quint64(id.device), seed) ^ ::qHash(quint64(id.inode), seed);
}

QByteArray NameOf(const QString &path)
{
    const QByteArray bytes = EncodeFileName(path);
    return bytes.mid(bytes.lastIndexOf('/') + 1);
}

} // namespace

QString NearestExistingFolder(const QString &path)
{
    QString folder = path;
    for (;;) {
        const qsizetype slash = folder.lastIndexOf(u'/');
        if (slash <= 0)
            return {};
        folder.truncate(slash);
        if (KindOfPath(folder) == PathKind::Folder)
            return folder;
    }
}

QMultiHash<QByteArray, FoundFile> FilesUnder(const QString &folder, int depth, const std::atomic_bool &cancel,
                                             const std::function<void(int folders)> &visited)
{
    QMultiHash<QByteArray, FoundFile> files;
    struct stat root;
    if (::stat(EncodeFileName(folder).constData(), &root) != 0 || !S_ISDIR(root.st_mode))
        return files;
    QSet<FolderId> seen;
    seen.insert(FolderId{root.st_dev, root.st_ino});
    std::vector<std::pair<QByteArray, int>> pending{{EncodeFileName(folder), 0}};
    int count = 0;
    while (!pending.empty() && !cancel) {
        const auto [path, level] = pending.back();
        pending.pop_back();
        DIR *dir = ::opendir(path.constData());
        if (!dir)
            continue;
        if (visited)
            visited(++count);
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            const QByteArray full = path.endsWith('/') ? path + name : path + '/' + name;
            struct stat info;
            if (::lstat(full.constData(), &info) != 0)
                continue;
            if (S_ISREG(info.st_mode)) {
                files.insert(name, FoundFile{DecodeFileName(full), qint64(info.st_size)});
            } else if (S_ISDIR(info.st_mode) && !name.startsWith('.') && level < depth && info.st_dev == root.st_dev
                       && !seen.contains(FolderId{info.st_dev, info.st_ino})) {
                seen.insert(FolderId{info.st_dev, info.st_ino});
                pending.emplace_back(full, level + 1);
            }
        }
        ::closedir(dir);
    }
    return files;
}

QList<MovedFile> MatchMovedFiles(const QList<MissingEntry> &missing,
                                 const QHash<QString, QMultiHash<QByteArray, FoundFile>> &searched)
{
    QList<MovedFile> found;
    for (const MissingEntry &entry : missing) {
        const bool byNameOnly = entry.size < 0;
        QStringList candidates;
        for (const FoundFile &file : searched.value(entry.folder).values(NameOf(entry.path)))
            if (byNameOnly || file.size == entry.size)
                candidates.append(file.path);
        if (candidates.isEmpty())
            continue;
        std::sort(candidates.begin(), candidates.end());
        found.append({entry.path, candidates, byNameOnly});
    }
    return found;
}

QList<QByteArray> MendRecords(const QList<QByteArray> &records, const QHash<QByteArray, QString> &moves, bool &changed)
{
    changed = false;
    QList<QByteArray> mended = records;
    for (QByteArray &record : mended) {
        const auto move = moves.constFind(ListRecordPath(record).toByteArray());
        if (move == moves.cend())
            continue;
        record = EncodeListRecord(*move);
        changed = true;
    }
    return mended;
}

MovedFileSearch::MovedFileSearch(const QStringList &paths, const FileSizes &sizes, QObject *parent)
    : QObject(parent)
{
    thread_ = QThread::create([this, paths, sizes] {
        QList<MissingEntry> missing;
        QHash<QString, QMultiHash<QByteArray, FoundFile>> searched;
        int folders = 0;
        QSet<QString> looked;
        for (const QString &path : paths) {
            if (cancel_)
                break;
            if (looked.contains(path) || KindOfPath(path) != PathKind::Missing)
                continue;
            looked.insert(path);
            const QString folder = NearestExistingFolder(path);
            if (folder.isEmpty())
                continue;
            missing.append({path, folder, sizes.value(EncodeFileName(path), -1)});
            if (searched.contains(folder))
                continue;
            const int before = folders;
            searched.insert(folder, FilesUnder(folder, MovedFileSearchDepth, cancel_, [&](int count) {
                                folders = before + count;
                                if (folders % ProgressStep == 0)
                                    emit Progress(folders);
                            }));
        }
        emit Done(MatchMovedFiles(missing, searched), cancel_);
    });
    thread_->setParent(this);
    // Started once the creator's own code has run: a search of a small folder
    // can end before the creator has connected to Done, which would be lost.
    QTimer::singleShot(0, thread_, [thread = thread_] { thread->start(); });
}

MovedFileSearch::~MovedFileSearch()
{
    cancel_ = true;
    // The thread's signals go to this object, queued: none is delivered once it is gone.
    thread_->wait();
}
