#include "app/favorite_search.h"

#include "base/file_names.h"

#include <algorithm>
#include <limits>
#include <sys/stat.h>

QString SearchForm(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

namespace {

// The file name of a path's bytes: what follows its last separator.
QByteArrayView NameOf(QByteArrayView path)
{
    return path.sliced(path.lastIndexOf('/') + 1);
}

// Characters that NFKC and case folding leave as they are and that nothing
// following them can combine with: hiragana, katakana with the prolonged
// sound mark, and the common CJK ideographs (combining marks, half-width and
// full-width forms are not among them).
bool IsOwnSearchForm(char16_t c)
{
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC || (c >= 0x4E00 && c <= 0x9FFF);
}

// True when the UTF-8 name's search form is its bytes with ASCII letters
// lowered: a name of ASCII and the characters above.
bool FoldsByLowering(QByteArrayView name)
{
    if (std::all_of(name.begin(), name.end(), [](char byte) { return quint8(byte) < 0x80; }))
        return true;
    const QString text = QString::fromUtf8(name);
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x80 || IsOwnSearchForm(c.unicode()); });
}

// Appends a file name's search form, in UTF-8; utf8: the name is UTF-8.
// Most names need no Unicode normalisation, which is most of an index's
// building time where it runs.
void AppendSearchForm(QByteArrayView name, bool utf8, std::string &to)
{
    if (!utf8 || !FoldsByLowering(name)) {
        const QByteArray folded = SearchForm(DisplayFileName(DecodeFileName(name))).toUtf8();
        to.append(folded.constData(), size_t(folded.size()));
        return;
    }
    for (const char byte : name)
        to += byte >= 'A' && byte <= 'Z' ? char(byte - 'A' + 'a') : byte;
}

// The bytes of entry's path as the file system holds them, and whether they are UTF-8.
struct PathBytes
{
    QByteArrayView bytes;
    bool utf8;
};
// made keeps the bytes that are not the record's own.
PathBytes PathOf(const GroupEntries &group, const GroupEntries::Entry &entry, QByteArray &made)
{
    if (entry.record >= 0) {
        const QByteArrayView record = group.records.at(entry.record);
        const QByteArrayView held = ListRecordPath(record);
        if (IsUtf8(held))
            return {held, true};
        made = EncodeFileName(DecodeListRecord(record)); // maybe its Shift_JIS reading
    } else {
        made = EncodeFileName(entry.path);
    }
    return {made, IsUtf8(made)};
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

void GroupSearchIndex::Build(const GroupEntries &group)
{
    paths_.Clear();
    names_.Clear();
    pairs_.clear();
    const qsizetype count = qsizetype(group.entries.size());
    paths_.Reserve(count);
    names_.Reserve(count);
    pairs_.reserve(count);
    QByteArray made;
    for (const GroupEntries::Entry &entry : group.entries) {
        const PathBytes path = PathOf(group, entry, made);
        paths_.Buffer().append(path.bytes.data(), size_t(path.bytes.size()));
        paths_.End();
        const size_t nameStart = names_.Buffer().size();
        AppendSearchForm(NameOf(path.bytes), path.utf8, names_.Buffer());
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

void GroupSearchIndex::Find(const SearchQuery &query, size_t from, size_t to, std::vector<int> &found) const
{
    const PairMask wanted = query.pairs;
    for (size_t entry = from; entry < std::min(to, pairs_.size()); ++entry) {
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
    if (!query.bytes.empty())
        FindFrom(query, {0, 0}, std::numeric_limits<size_t>::max(), hits);
    return hits;
}

std::optional<SearchHit> FavoriteSearchIndex::FindFrom(const SearchQuery &query, SearchHit from, size_t limit,
                                                       std::vector<SearchHit> &hits) const
{
    std::vector<int> entries;
    for (int group = from.group; group < Groups; ++group) {
        const GroupSearchIndex &index = slots_[group].index;
        const size_t first = group == from.group ? size_t(from.entry) : 0;
        const size_t end = first + std::min(limit, index.Count() - std::min(first, index.Count()));
        entries.clear();
        index.Find(query, first, end, entries);
        for (int entry : entries)
            hits.push_back({group, entry});
        limit -= end - first;
        if (end < index.Count())
            return SearchHit{group, int(end)};
        if (limit == 0)
            return group + 1 < Groups ? std::optional(SearchHit{group + 1, 0}) : std::nullopt;
    }
    return std::nullopt;
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
