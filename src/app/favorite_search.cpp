#include "app/favorite_search.h"

#include "base/file_names.h"

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

} // namespace

PairMask PairsOf(std::string_view text)
{
    PairMask mask{};
    for (size_t i = 1; i < text.size(); ++i) {
        const quint32 pair = quint32(quint8(text[i - 1])) << 8 | quint8(text[i]);
        const quint32 bit = (pair * 0x9E3779B1u) >> 25; // 0..127
        mask[bit >> 6] |= quint64(1) << (bit & 63);
    }
    return mask;
}

SearchQuery::SearchQuery(const QString &text)
    : bytes(SearchForm(text).toStdString())
    , pairs(PairsOf(bytes))
{
}

void GroupSearchIndex::Build(const QStringList &paths)
{
    paths_ = paths;
    names_.clear();
    starts_.clear();
    pairs_.clear();
    starts_.reserve(paths.size() + 1);
    pairs_.reserve(paths.size());
    for (const QString &path : paths) {
        const std::string name = SearchForm(DisplayFileName(NameOf(path).toString())).toStdString();
        starts_.push_back(quint32(names_.size()));
        pairs_.push_back(PairsOf(name));
        names_ += name;
    }
    starts_.push_back(quint32(names_.size()));
}

void GroupSearchIndex::Find(const SearchQuery &query, std::vector<int> &found) const
{
    const PairMask wanted = query.pairs;
    for (size_t entry = 0; entry < pairs_.size(); ++entry) {
        const PairMask &held = pairs_[entry];
        if ((held[0] & wanted[0]) != wanted[0] || (held[1] & wanted[1]) != wanted[1])
            continue;
        const std::string_view name(names_.data() + starts_[entry], starts_[entry + 1] - starts_[entry]);
        if (name.find(query.bytes) != std::string_view::npos)
            found.push_back(int(entry));
    }
}

std::vector<SearchHit> FavoriteSearchIndex::Find(const QString &text) const
{
    std::vector<SearchHit> hits;
    const SearchQuery query(text);
    if (query.bytes.empty())
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
