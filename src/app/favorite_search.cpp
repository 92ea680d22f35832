#include "app/favorite_search.h"

#include "base/file_names.h"

#include <QStringMatcher>
#include <algorithm>
#include <sys/stat.h>

QString SearchForm(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

namespace {

// The file name of path: what follows its last separator.
QStringView NameOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return QStringView(path).mid(slash + 1);
}

constexpr QChar EndOfName = u'\n';

} // namespace

void GroupSearchIndex::Build(const QStringList &paths)
{
    paths_ = paths;
    names_.clear();
    starts_.clear();
    starts_.reserve(paths.size() + 1);
    for (const QString &path : paths) {
        starts_.push_back(int(names_.size()));
        QString name = SearchForm(DisplayFileName(NameOf(path).toString()));
        name.replace(EndOfName, u' '); // a name may hold a line break; a search never does
        names_ += name;
        names_ += EndOfName;
    }
    starts_.push_back(int(names_.size()));
}

void GroupSearchIndex::Find(const QString &query, std::vector<int> &found) const
{
    const QStringMatcher matcher(query);
    qsizetype at = 0;
    while ((at = matcher.indexIn(names_, at)) >= 0) {
        // The entry whose name holds the match; the search goes on after it.
        const auto next = std::upper_bound(starts_.begin(), starts_.end(), int(at));
        found.push_back(int(next - starts_.begin()) - 1);
        at = *next;
    }
}

std::vector<SearchHit> FavoriteSearchIndex::Find(const QString &text) const
{
    std::vector<SearchHit> hits;
    QString query = SearchForm(text);
    query.remove(EndOfName);
    if (query.isEmpty())
        return hits;
    std::vector<int> entries;
    for (int group = 0; group < Groups; ++group) {
        entries.clear();
        slots_[group].index.Find(query, entries);
        for (int entry : entries)
            hits.push_back({group, entry});
    }
    return hits;
}

QString FileStamp(const QString &path)
{
    struct stat info;
    if (::stat(EncodeFileName(path).constData(), &info) != 0)
        return {};
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(info.st_dev)
        .arg(info.st_ino)
        .arg(info.st_size)
        .arg(info.st_mtim.tv_sec)
        .arg(info.st_mtim.tv_nsec);
}
