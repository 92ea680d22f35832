// The favourites as entries of their list. Each entry keeps the list-file
// record it was read from, so an entry goes back to its file byte for byte,
// whatever the record held (Shift_JIS, NUL padding, a name the disk holds in
// bytes that are not UTF-8). An entry whose file cannot be reached now (a
// drive unplugged, a share away) stays in its group, greyed, and is passed
// over by the play commands; it is looked at again when the group loads,
// when the user presses it or plays it, and whenever a drive comes or goes.
// The disk is never asked on the window's thread: a group fills at once and
// its entries grey as the answers come (ReachChecker).

#include "app/main_window.h"

#include "app/favorite_files.h"
#include "app/list_file.h"
#include "app/reach_checker.h"
#include "app/reelbox_b.h"
#include "base/file_names.h"
#include "controls/command.h"
#include "widgets/list_box.h"

namespace {

// Where an entry keeps the record it was read from (none for entries added
// in this run: they are stored as their path).
constexpr int RecordRole = Qt::UserRole;
// Which entry a row holds, so that an answer finds its entry even after rows
// moved, and an answer about a group no longer shown finds none.
constexpr int EntryRole = Qt::UserRole + 1;

const QColor UnreachableText(140, 140, 140);

quint64 EntryOf(const QListWidgetItem *item)
{
    return item ? item->data(EntryRole).toULongLong() : 0;
}

} // namespace

void Reelbox_S::LoadFavorites(qint16 group)
{
    QList<QByteArray> records;
    for (const QByteArray &record : B.LoadGroup(group))
        if (!ListRecordPath(record).isEmpty()) // a blank record names nothing
            records.append(record);
    RecordsPastLimit = records.size() > MaxListEntries ? records.mid(MaxListEntries) : QList<QByteArray>();
    records.resize(qMin<qsizetype>(records.size(), MaxListEntries));
    // Each entry shows its record's bytes as they read until the disk says
    // which reading names a file.
    QStringList paths;
    paths.reserve(records.size());
    for (const QByteArray &record : records)
        paths.append(DecodeFileName(ListRecordPath(record)));
    List_Favorite->SetEntries(paths, [&](QListWidgetItem &entry, int row) {
        entry.setData(RecordRole, records[row]);
        entry.setData(EntryRole, ++LastFavoriteEntry);
    });
    CheckFavorites();
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

void Reelbox_S::AppendFavorites(const QStringList &paths)
{
    const int first = List_Favorite->count();
    List_Favorite->AppendEntries(
        paths, [this](QListWidgetItem &entry, int) { entry.setData(EntryRole, ++LastFavoriteEntry); });
    Reach->Check(ReachQuestions(first, List_Favorite->count()), false);
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

QList<ReachQuestion> Reelbox_S::ReachQuestions(int from, int to) const
{
    QList<ReachQuestion> questions;
    questions.reserve(qMax(to - from, 0));
    for (int row = from; row < to; ++row) {
        const QListWidgetItem *item = List_Favorite->item(row);
        questions.append({EntryOf(item), row, item->data(RecordRole).toByteArray(), item->text()});
    }
    return questions;
}

bool Reelbox_S::CheckFavorite(int row)
{
    if (!List_Favorite->item(row))
        return false;
    const ReachAnswer answer = Reach->CheckNow(ReachQuestions(row, row + 1).first());
    QListWidgetItem *item = List_Favorite->item(row);
    if (EntryOf(item) != answer.entry)
        return false; // the list changed while the disk was asked
    ShowReach(item, answer);
    return answer.reach == FavoriteReach::Playable;
}

bool Reelbox_S::FavoriteShownPlayable(int row) const
{
    const QListWidgetItem *item = List_Favorite->item(row);
    return item && !item->data(Qt::ForegroundRole).isValid();
}

void Reelbox_S::ShowReach(QListWidgetItem *item, const ReachAnswer &answer)
{
    // An entry read from a record shows the reading of it that names a file.
    if (!answer.path.isEmpty() && answer.path != item->text())
        item->setText(answer.path);
    const bool playable = answer.reach == FavoriteReach::Playable;
    const QString note = ReachNote(answer.reach);
    if (item->toolTip() == note && item->data(Qt::ForegroundRole).isValid() != playable)
        return;
    item->setData(Qt::ForegroundRole, playable ? QVariant() : QVariant(UnreachableText));
    QFont font = List_Favorite->font();
    font.setItalic(!playable);
    item->setData(Qt::FontRole, playable ? QVariant() : QVariant(font));
    item->setToolTip(note);
}

void Reelbox_S::ShowReachAnswers(const QList<ReachAnswer> &answers)
{
    const qint16 selected = List_Favorite->ListIndex();
    bool selectedAnswered = false;
    for (const ReachAnswer &answer : answers) {
        QListWidgetItem *item = List_Favorite->item(answer.row);
        if (!item || EntryOf(item) != answer.entry)
            continue; // the entry moved or is gone: a later look covers it
        ShowReach(item, answer);
        selectedAnswered = selectedAnswered || answer.row == selected;
    }
    // An armed 再生 follows what its selected entry can do now.
    if (selectedAnswered && Comd[RemoveFavoriteButton]->EnabledProperty())
        Comd[PlayFavoriteButton]->SetEnabledProperty(FavoriteShownPlayable(selected));
}

void Reelbox_S::CheckFavorites()
{
    Reach->Check(ReachQuestions(0, List_Favorite->count()), true);
}

bool Reelbox_S::CheckingFavorites() const
{
    return Reach->Busy();
}
