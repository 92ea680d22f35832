// The favourites as entries of their list (FavoriteList). Each entry keeps the
// list-file record it was read from, so an entry goes back to its file byte
// for byte, whatever the record held (Shift_JIS, NUL padding, a name the disk
// holds in bytes that are not UTF-8). An entry whose file cannot be reached
// now (a drive unplugged, a share away) stays in its group, greyed, and is
// passed over by the play commands; it is looked at again when the group
// loads, when the user presses it or plays it, and whenever a drive comes or
// goes. The disk is never asked on the window's thread: a group fills at once
// and its entries grey as the answers come (ReachChecker).

#include "app/main_window.h"

#include "app/favorite_list.h"
#include "app/favorite_sizes.h"
#include "app/list_file.h"
#include "app/reach_checker.h"
#include "app/reelbox_b.h"
#include "controls/command.h"
#include "widgets/list_box.h"

void Reelbox_S::LoadFavorites(qint16 group)
{
    const ListRecords records = B.LoadGroup(group);
    RecordsPastLimit.clear();
    for (qsizetype r = Favorites->SetRecords(records, MaxListEntries); r < records.size(); ++r) {
        if (!IsBlankRecord(records.at(r)))
            RecordsPastLimit.append(records.at(r).toByteArray());
    }
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
    const int first = Favorites->rowCount();
    Favorites->AppendPaths(paths.mid(0, qMax(MaxListEntries - first, 0)));
    Reach->Check(Favorites->Questions(first, Favorites->rowCount()), false);
}

void Reelbox_S::ReplaceFavoriteEntry(int row, const QString &path)
{
    Favorites->ReplacePath(row, path);
    Reach->Check(Favorites->Questions(row, row + 1), false);
}

QList<QByteArray> Reelbox_S::FavoriteRecords() const
{
    return Favorites->Records() + RecordsPastLimit;
}

bool Reelbox_S::CheckFavorite(int row)
{
    const QList<ReachQuestion> question = Favorites->Questions(row, row + 1);
    if (question.isEmpty())
        return false;
    const ReachAnswer answer = Reach->CheckNow(question.first());
    // false too when the list changed while the disk was asked
    return Favorites->Show(answer) && answer.reach == FavoriteReach::Playable;
}

bool Reelbox_S::PlayableNow(const QString &path)
{
    QString file = path;
    if (file.endsWith(u'/'))
        file.chop(1); // one separator at the end is no part of a file's name
    return Reach->CheckNow({0, -1, {}, file}).reach == FavoriteReach::Playable;
}

void Reelbox_S::ShowReachAnswers(const QList<ReachAnswer> &answers)
{
    RecordSizes(answers);
    const qint16 selected = List_Favorite->ListIndex();
    bool selectedAnswered = false;
    for (const ReachAnswer &answer : answers) {
        // An entry that moved or is gone is passed over: a later look covers it.
        if (Favorites->Show(answer) && answer.row == selected)
            selectedAnswered = true;
    }
    // An armed 再生 follows what its selected entry can do now.
    if (selectedAnswered && Comd[RemoveFavoriteButton]->EnabledProperty())
        Comd[PlayFavoriteButton]->SetEnabledProperty(Favorites->ShownPlayable(selected));
}

// What each playable file holds, for knowing it again once it has moved.
void Reelbox_S::RecordSizes(const QList<ReachAnswer> &answers)
{
    if (!Sizes)
        return;
    QList<SeenFile> seen;
    for (const ReachAnswer &answer : answers)
        if (answer.size >= 0)
            seen.append({answer.path, answer.size});
    Sizes->Record(seen);
}

void Reelbox_S::CheckFavorites()
{
    Reach->Check(Favorites->Questions(0, Favorites->rowCount()), true);
}

bool Reelbox_S::CheckingFavorites() const
{
    return Reach->Busy();
}
