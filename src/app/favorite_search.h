#pragma once
// Finding favourites across all twenty groups by a piece of their file name.
// Names and what the user types are compared in one form: NFKC, then case
// folded, so that full-width and half-width forms and letter case all match
// alike (ＥＰ０７ finds ep07, ｴﾋﾟｿｰﾄﾞ finds エピソード). Each group keeps its
// names in that form, built when the group is first searched and again only
// when its entries changed, so a keystroke's search is one pass over text
// made ready before. Twenty full groups hold 655,340 entries: an index keeps
// them as bytes in a few long buffers, not as a string object each, and
// makes a path a string only for the rows that show.

#include "app/list_file.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// text as names are compared: NFKC, then case folded.
QString SearchForm(const QString &text);

// Which pairs of neighbouring bytes a text holds, hashed to 128 bits: a name
// can hold a query only when it holds every pair the query holds, so most
// names are passed over by comparing two words.
using PairMask = std::array<quint64, 2>;
PairMask PairsOf(std::string_view text);

// What the user typed, ready to be looked for: search form in UTF-8.
struct SearchQuery
{
    explicit SearchQuery(const QString &text);
    std::string bytes;
    PairMask pairs;
};

// Texts one after the other in one buffer, each found by its number.
class PackedTexts
{
public:
    void Clear();
    void Reserve(qsizetype count);
    std::string &Buffer() { return bytes_; } // append a text, then End() it
    void End() { starts_.push_back(quint32(bytes_.size())); }
    std::string_view operator[](size_t i) const
    {
        return std::string_view(bytes_.data() + starts_[i], starts_[i + 1] - starts_[i]);
    }
    size_t Count() const { return starts_.size() - 1; }
    size_t Bytes() const { return bytes_.capacity() + starts_.capacity() * sizeof(quint32); }

private:
    std::string bytes_;
    std::vector<quint32> starts_{0};
};

// One group's entries, their file names in search form.
class GroupSearchIndex
{
public:
    // Made off the window's thread: a record whose bytes are not UTF-8 is
    // read as DecodeListRecord reads it, which may look at the disk.
    void Build(const GroupEntries &group);
    // Entry entry's path, as it was given.
    QString Path(int entry) const;
    // The entries from..to-1 whose file name holds query (not empty), in
    // list order, appended to found.
    void Find(const SearchQuery &query, size_t from, size_t to, std::vector<int> &found) const;
    size_t Count() const { return pairs_.size(); }
    // The memory the index holds.
    size_t Bytes() const;

private:
    PackedTexts paths_;           // every path's bytes (file_names.h)
    PackedTexts names_;           // every file name in search form, in UTF-8
    std::vector<PairMask> pairs_; // each name's pairs
};

// One row of a search's answer: entry `entry` of group `group`.
struct SearchHit
{
    int group;
    int entry;
};

// Where a group's entries come from, and what marks a change of them: the
// shown group's list (a count of its changes), or a list file (its identity,
// size and time on disk).
struct GroupSource
{
    bool shown = false;
    quint64 changes = 0;
    QString file;
    friend bool operator==(const GroupSource &, const GroupSource &) = default;
};

class FavoriteSearchIndex
{
public:
    static constexpr int Groups = 20;

    // True when group's index was built from source as stamp marks it.
    bool Current(int group, const GroupSource &source, const QString &stamp) const
    {
        const Slot &slot = slots_[group];
        return slot.built && slot.source == source && slot.stamp == stamp;
    }
    // Takes index as group's, built from source as stamp marks it.
    void Set(int group, GroupSource source, QString stamp, GroupSearchIndex index)
    {
        slots_[group] = {std::move(index), std::move(source), std::move(stamp), true};
    }
    // Every group's entries whose file name holds text, group by group in list order.
    std::vector<SearchHit> Find(const QString &text) const;
    // The same in steps: the matches among the next `limit` entries from
    // `from` on, appended to hits; where the search goes on, or none once
    // every group was searched.
    std::optional<SearchHit> FindFrom(const SearchQuery &query, SearchHit from, size_t limit,
                                      std::vector<SearchHit> &hits) const;
    QString Path(const SearchHit &hit) const { return slots_[hit.group].index.Path(hit.entry); }
    // The stamp group's index was built with ("" for none).
    QString Stamp(int group) const { return slots_[group].built ? slots_[group].stamp : QString(); }
    // The memory every group's index holds.
    size_t Bytes() const;

private:
    struct Slot
    {
        GroupSearchIndex index;
        GroupSource source;
        QString stamp;
        bool built = false;
    };
    std::array<Slot, Groups> slots_;
};

// What marks a change of the file at path: its identity, size and time of
// change as the file system tells them; "" when there is none.
QString FileStamp(const QString &path);
