#include "base/folder_listing.h"

#include "base/file_names.h"
#include "base/natural_sort.h"

#include <QDir>
#include <dirent.h>
#include <sys/stat.h>
#include <utility>

namespace {

enum class EntryKind { File, Folder, Other };

// The kind the folder entry reports, asking the file system only where it does
// not say (a symbolic link is taken as what it points to).
EntryKind KindOf(const dirent &entry, const QByteArray &folder)
{
    if (entry.d_type == DT_REG)
        return EntryKind::File;
    if (entry.d_type == DT_DIR)
        return EntryKind::Folder;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return EntryKind::Other;
    struct stat target;
    if (stat((folder + '/' + entry.d_name).constData(), &target) != 0)
        return EntryKind::Other; // a broken link
    return S_ISREG(target.st_mode) ? EntryKind::File : S_ISDIR(target.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

} // namespace

std::optional<FolderListing> ReadFolder(const QString &folder, FolderOrder order)
{
    FolderListing listing{QDir::cleanPath(QDir(folder).absolutePath()), {}, {}};
    const QByteArray path = EncodeFileName(listing.folder);
    DIR *dir = opendir(path.constData());
    if (!dir)
        return std::nullopt;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.') // hidden, and "." and ".."
            continue;
        // Names keep the bytes the disk holds, UTF-8 or not.
        switch (KindOf(*entry, path)) {
        case EntryKind::File: listing.files.append(DecodeFileName(entry->d_name)); break;
        case EntryKind::Folder: listing.subfolders.append(DecodeFileName(entry->d_name)); break;
        case EntryKind::Other: break;
        }
    }
    closedir(dir);
    if (order == FolderOrder::Natural) {
        SortNaturally(listing.subfolders);
        SortNaturally(listing.files);
        listing.sorted = true;
    }
    return listing;
}

FolderPrefetch::FolderPrefetch(const QString &folder)
    : folder_(folder)
    , reader_([this] { listing_ = ReadFolder(folder_, FolderOrder::Natural); })
{
}

FolderPrefetch::~FolderPrefetch()
{
    if (reader_.joinable())
        reader_.join();
}

std::optional<FolderListing> FolderPrefetch::Take(const QString &folder)
{
    if (reader_.joinable())
        reader_.join();
    if (!listing_ || listing_->folder != QDir::cleanPath(QDir(folder).absolutePath()))
        return std::nullopt;
    return std::exchange(listing_, std::nullopt);
}

FilePatterns::FilePatterns(const QString &patterns)
{
    for (const QString &pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        const QString ending = trimmed.mid(1);
        if (trimmed.startsWith(u'*') && ending.startsWith(u'.') && !ending.contains(u'*') && !ending.contains(u'?')
            && !ending.contains(u'['))
            endings_.append(ending);
        else
            wildcards_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(trimmed),
                                                 QRegularExpression::CaseInsensitiveOption));
    }
}

bool FilePatterns::Matches(const QString &name) const
{
    // Only the text from the last dot on can be an ending.
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        const QStringView extension = QStringView(name).mid(dot);
        for (const QString &ending : endings_)
            if (extension.size() == ending.size() && extension.compare(ending, Qt::CaseInsensitive) == 0)
                return true;
    }
    for (const QRegularExpression &wildcard : wildcards_)
        if (wildcard.match(name).hasMatch())
            return true;
    return false;
}

QStringList FilePatterns::SortedMatches(const QStringList &names, bool alreadySorted) const
{
    QStringList matching;
    for (const QString &name : names)
        if (Matches(name))
            matching.append(name);
    if (!alreadySorted)
        SortNaturally(matching);
    return matching;
}
