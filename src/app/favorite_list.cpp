#include "app/favorite_list.h"

#include "app/reach_checker.h"

#include <utility>

FavoriteList::FavoriteList(QObject *parent)
    : QAbstractListModel(parent)
{
}

qsizetype FavoriteList::SetRecords(ListRecords records, qsizetype limit)
{
    beginResetModel();
    records_ = std::move(records);
    entries_.clear();
    entries_.reserve(qMin(records_.size(), limit));
    qsizetype record = 0;
    for (; record < records_.size() && entries_.size() < limit; ++record) {
        if (!IsBlankRecord(records_.at(record)))
            entries_.append({record, {}, ++lastId_});
    }
    endResetModel();
    return record;
}

void FavoriteList::AppendPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    beginInsertRows({}, int(entries_.size()), int(entries_.size() + paths.size() - 1));
    for (const QString &path : paths)
        entries_.append({-1, path, ++lastId_});
    endInsertRows();
}

void FavoriteList::RemoveRow(int row)
{
    if (row < 0 || row >= entries_.size())
        return;
    beginRemoveRows({}, row, row);
    entries_.removeAt(row);
    endRemoveRows();
}

void FavoriteList::ReplacePath(int row, const QString &path)
{
    if (row < 0 || row >= entries_.size())
        return;
    entries_[row] = {-1, path, ++lastId_};
    ShowChanged(row);
}

void FavoriteList::Clear()
{
    SetRecords({}, 0);
}

QList<QByteArray> FavoriteList::Records() const
{
    QList<QByteArray> records;
    records.reserve(entries_.size());
    for (const Entry &entry : entries_)
        records.append(entry.record < 0 ? EncodeListRecord(entry.path) : records_.at(entry.record).toByteArray());
    return records;
}

GroupEntries FavoriteList::Entries() const
{
    GroupEntries group{records_, {}};
    group.entries.reserve(entries_.size());
    for (const Entry &entry : entries_)
        group.entries.push_back({entry.record, entry.record < 0 ? entry.path : QString()});
    return group;
}

const QString &FavoriteList::PathOf(const Entry &entry) const
{
    // Its bytes as they read, until a look at the disk says which reading
    // names a file.
    if (entry.path.isEmpty())
        entry.path = ListRecordText(records_.at(entry.record));
    return entry.path;
}

QString FavoriteList::Path(int row) const
{
    return row >= 0 && row < entries_.size() ? PathOf(entries_[row]) : QString();
}

bool FavoriteList::ShownPlayable(int row) const
{
    return row >= 0 && row < entries_.size() && entries_[row].reach == FavoriteReach::Playable;
}

QList<ReachQuestion> FavoriteList::Questions(int from, int to) const
{
    QList<ReachQuestion> questions;
    questions.reserve(qMax(to - from, 0));
    for (int row = qMax(from, 0); row < qMin<qsizetype>(to, entries_.size()); ++row) {
        const Entry &entry = entries_[row];
        if (entry.record < 0)
            questions.append({entry.id, row, {}, entry.path});
        else
            questions.append({entry.id, row, records_, {}, entry.record});
    }
    return questions;
}

bool FavoriteList::Show(const ReachAnswer &answer, const RowMark &mark)
{
    if (answer.row < 0 || answer.row >= entries_.size() || entries_[answer.row].id != answer.entry)
        return false;
    Entry &entry = entries_[answer.row];
    const bool renamed = !answer.path.isEmpty() && answer.path != PathOf(entry);
    const RowMark shown = answer.reach == FavoriteReach::Playable ? mark : RowMark();
    if (!renamed && entry.reach == answer.reach && entry.mark == shown)
        return true;
    if (renamed)
        entry.path = answer.path;
    entry.reach = answer.reach;
    entry.mark = shown;
    ShowChanged(answer.row);
    return true;
}

void FavoriteList::MarkPath(const QString &path, const RowMark &mark)
{
    for (int row = 0; row < entries_.size(); ++row) {
        Entry &entry = entries_[row];
        if (entry.reach == FavoriteReach::Playable && entry.mark != mark && PathOf(entry) == path) {
            entry.mark = mark;
            ShowChanged(row);
        }
    }
}

void FavoriteList::ShowChanged(int row)
{
    const QModelIndex shown = index(row);
    emit dataChanged(shown, shown);
}

void FavoriteList::SetFont(const QFont &font)
{
    unreachableFont_ = font;
    unreachableFont_.setItalic(true);
}

int FavoriteList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant FavoriteList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= entries_.size())
        return {};
    const Entry &entry = entries_[index.row()];
    const bool playable = entry.reach == FavoriteReach::Playable;
    switch (role) {
    case Qt::DisplayRole: return PathOf(entry);
    case Qt::ForegroundRole: return playable ? QVariant() : QVariant(UnreachableText);
    case Qt::FontRole: return playable ? QVariant() : QVariant(unreachableFont_);
    case Qt::ToolTipRole: return playable ? QVariant() : QVariant(ReachNote(entry.reach));
    default: return RowMarkData(entry.mark, role);
    }
}
