// The favourites as entries of their list. Each entry keeps the list-file
// record it was read from, so an entry goes back to its file byte for byte,
// whatever the record held (Shift_JIS, NUL padding, a name the disk holds in
// bytes that are not UTF-8). An entry whose file cannot be reached now (a
// drive unplugged, a share away) stays in its group, greyed, and is passed
// over by the play commands; it is looked at again when the group loads,
// when the user presses it or plays it, and whenever a drive comes or goes.

#include "app/main_window.h"

#include "app/favorite_files.h"
#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "controls/command.h"
#include "widgets/list_box.h"

namespace {

// Where an entry keeps the record it was read from (none for entries added
// in this run: they are stored as their path).
constexpr int RecordRole = Qt::UserRole;

} // namespace

void Reelbox_S::LoadFavorites(qint16 group)
{
    List_Favorite->clear();
    QList<QByteArray> records;
    for (const QByteArray &record : B.LoadGroup(group))
        if (!ListRecordPath(record).isEmpty()) // a blank record names nothing
            records.append(record);
    RecordsPastLimit = records.size() > MaxListEntries ? records.mid(MaxListEntries) : QList<QByteArray>();
    records.resize(qMin<qsizetype>(records.size(), MaxListEntries));
    for (const QByteArray &record : records)
        AddFavoriteEntry(DecodeListRecord(record), record);
    if (!RecordsPastLimit.isEmpty()) {
        Tell(QStringLiteral("グループ %1 の Favorite ﾘｽﾄには %2 個を超える記録があります。"
                            "残りの %3 個はﾘｽﾄに表示されませんが、ﾌｧｲﾙにはそのまま残ります"
                            " (全部ｸﾘｱで消えます)。")
                 .arg(group + 1)
                 .arg(CountText(MaxListEntries))
                 .arg(CountText(RecordsPastLimit.size())));
    }
    TellIfUnreadable(group);
}

void Reelbox_S::AddFavoriteEntry(const QString &path, const QByteArray &record)
{
    if (!List_Favorite->AddItem(path))
        return;
    QListWidgetItem *item = List_Favorite->item(List_Favorite->count() - 1);
    if (!record.isEmpty())
        item->setData(RecordRole, record);
    const FavoriteReach reach = ReachOf(path);
    if (reach != FavoriteReach::Playable)
        ShowReach(item, false, ReachNote(reach));
}

void Reelbox_S::ReplaceFavoriteEntry(int row, const QString &path)
{
    QListWidgetItem *item = List_Favorite->item(row);
    item->setText(path);
    item->setData(RecordRole, EncodeListRecord(path));
    CheckFavorite(row);
}

QList<QByteArray> Reelbox_S::FavoriteRecords() const
{
    QList<QByteArray> records;
    records.reserve(List_Favorite->count() + RecordsPastLimit.size());
    for (int row = 0; row < List_Favorite->count(); ++row) {
        const QListWidgetItem *item = List_Favorite->item(row);
        const QVariant kept = item->data(RecordRole);
        records.append(kept.isValid() ? kept.toByteArray() : EncodeListRecord(item->text()));
    }
    return records + RecordsPastLimit;
}

bool Reelbox_S::CheckFavorite(int row)
{
    QListWidgetItem *item = List_Favorite->item(row);
    if (!item)
        return false;
    // An entry read from a record is read from it again: which of its
    // readings names a file may have changed with the drive.
    const QVariant kept = item->data(RecordRole);
    if (kept.isValid()) {
        const QString path = DecodeListRecord(kept.toByteArray());
        if (path != item->text())
            item->setText(path);
    }
    const FavoriteReach reach = ReachOf(item->text());
    ShowReach(item, reach == FavoriteReach::Playable, ReachNote(reach));
    return reach == FavoriteReach::Playable;
}

void Reelbox_S::ShowReach(QListWidgetItem *item, bool playable, const QString &note)
{
    if (item->toolTip() == note && item->data(Qt::ForegroundRole).isValid() != playable)
        return;
    item->setData(Qt::ForegroundRole, playable ? QVariant() : QVariant(UnreachableText));
    QFont font = List_Favorite->font();
    font.setItalic(!playable);
    item->setData(Qt::FontRole, playable ? QVariant() : QVariant(font));
    item->setToolTip(note);
}

void Reelbox_S::CheckFavorites()
{
    for (int row = 0; row < List_Favorite->count(); ++row)
        CheckFavorite(row);
    // An armed 再生 follows what its selected entry can do now.
    const qint16 selected = List_Favorite->ListIndex();
    if (selected >= 0 && Comd[RemoveFavoriteButton]->EnabledProperty())
        Comd[PlayFavoriteButton]->SetEnabledProperty(CheckFavorite(selected));
}
