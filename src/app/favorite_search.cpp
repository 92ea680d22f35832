#include "app/favorite_search.h"

#include "base/file_names.h"

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

// Appends name in search form, in UTF-8. Most names are plain ASCII, whose
// NFKC form is themselves and whose case folding is lower case: those pass
// by Qt's normalisation, which is most of an index's building time.
void AppendSearchForm(QStringView name, std::string &to)
{
    const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        const QByteArray folded = SearchForm(DisplayFileName(name.toString())).toUtf8();
        to.append(folded.constData(), size_t(folded.size()));
        return;
    }
    for (QChar c : name) {
        const char byte = char(c.unicode());
        to += byte >= 'A' && byte <= 'Z' ? char(byte - 'A' + 'a') : byte;
    }
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

void PackedTexts::Clear()
{
    bytes_.clear();
    starts_.assign(1, 0);
}

void PackedTexts::Reserve(qsizetype count)
{
    starts_.reserve(count + 1);
}

void GroupSearchIndex::Build(const QStringList &paths)
{
    paths_.Clear();
    names_.Clear();
    pairs_.clear();
    paths_.Reserve(paths.size());
    names_.Reserve(paths.size());
    pairs_.reserve(paths.size());
    for (const QString &path : paths) {
        // Qt's own UTF-8 for the common path, which carries no foreign bytes.
        const QByteArray bytes = HasForeignBytes(path) ? EncodeFileName(path) : path.toUtf8();
        paths_.Buffer().append(bytes.constData(), size_t(bytes.size()));
        paths_.End();
        const size_t nameStart = names_.Buffer().size();
        AppendSearchForm(NameOf(path), names_.Buffer());
        names_.End();
        pairs_.push_back(PairsOf(std::string_view(names_.Buffer()).substr(nameStart)));
    }
    // Grown by doubling while built; what is left over is given back.
    paths_.Buffer().shrink_to_fit();
    names_.Buffer().shrink_to_fit();
}

QString GroupSearchIndex::Path(int entry) const
{
    const std::string_view bytes = paths_[entry];
    return DecodeFileName(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void GroupSearchIndex::Find(const SearchQuery &query, std::vector<int> &found) const
{
    const PairMask wanted = query.pairs;
    for (size_t entry = 0; entry < pairs_.size(); ++entry) {
        const PairMask &held = pairs_[entry];
        if ((held[0] & wanted[0]) != wanted[0] || (held[1] & wanted[1]) != wanted[1])
            continue;
        if (names_[entry].find(query.bytes) != std::string_view::npos)
            found.push_back(int(entry));
    }
}

size_t GroupSearchIndex::Bytes() const
{
    return paths_.Bytes() + names_.Bytes() + pairs_.capacity() * sizeof(PairMask);
}

size_t FavoriteSearchIndex::Bytes() const
{
    size_t bytes = 0;
    for (const Slot &slot : slots_)
        bytes += slot.index.Bytes();
    return bytes;
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
