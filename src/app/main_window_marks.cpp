// How far the files of both lists were watched: each row shows a tick for a
// file watched and a thin bar for one left midway (ListRowDelegate), and
// screen readers hear the same as the row's description. The store's points
// are read once (ResumeMarks); whether each is still its file's own is looked
// at off the window's thread, for the favourites together with their reach,
// for the file list only for the files that have a point. A file's mark is
// read again when its player window closes. The lists' context menus mark the
// selected entries 視聴済み or 未視聴 and play a list from its first entry not
// watched.

#include "app/main_window.h"

#include "app/favorite_list.h"
#include "app/reach_checker.h"
#include "app/reelbox_b.h"
#include "app/resume_store.h"
#include "app/shared_procedures.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/list_menu.h"

#include <QFileInfo>
#include <QTimer>

void Reelbox_S::SetResumeStore(ResumeStore *store, ResumeRecorder *recorder)
{
    Resume = store;
    Recorder = recorder;
    if (!Resume)
        return;
    Marks.Load(*Resume);
    MarkFiles();
    if (!CheckingFavorites()) // answers under way bring their marks
        CheckFavorites();
}

void Reelbox_S::ConnectMarks()
{
    FileLooks = new ReachChecker(this);
    connect(File1, &FileListBox::Listed, this, &Reelbox_S::MarkFiles);
    connect(FileLooks, &ReachChecker::Answered, this, &Reelbox_S::ShowFileLooks);
    FilesContextMenu = new ListMenu(File1);
    for (ListMenu *menu : {FilesContextMenu, FavoritesContextMenu}) {
        const qint16 side = menu == FilesContextMenu ? 0 : 1;
        const auto selected = [this, side] { return Resume && ListOf(side)->selectionModel()->hasSelection(); };
        menu->AddItem(
            QStringLiteral("視聴済み"), [this, side] { MarkSelected(side, true); }, selected);
        menu->AddItem(
            QStringLiteral("未視聴"), [this, side] { MarkSelected(side, false); }, selected);
        menu->AddItem(
            QStringLiteral("未視聴から連続再生"),
            // Once the menu has closed: the list plays in windows of its own.
            [this, side] { QTimer::singleShot(0, this, [this, side] { PlayFromFirstUnwatched(side); }); },
            [this, side] { return FirstUnwatched(side).has_value(); });
    }
}

// Only the files that have a point are looked at: a folder of thousands of
// files never played costs nothing.
void Reelbox_S::MarkFiles()
{
    QList<ReachQuestion> questions;
    ++FilesListing;
    for (int row = 0; row < File1->ListCount(); ++row) {
        const QString path = ListEntry(0, row);
        if (Marks.Has(path))
            questions.append({FilesListing, row, {}, path});
    }
    if (!questions.isEmpty())
        FileLooks->Check(questions, true);
}

void Reelbox_S::ShowFileLooks(const QList<ReachAnswer> &answers)
{
    for (const ReachAnswer &answer : answers)
        if (answer.entry == FilesListing)
            File1->SetMark(answer.row, Marks.MarkOf(answer.path, answer.identity));
}

RowMark Reelbox_S::FavoriteMark(const ReachAnswer &answer) const
{
    return Marks.MarkOf(answer.path, answer.identity);
}

void Reelbox_S::RefreshMarks(const QString &path)
{
    if (!Resume || path.isEmpty())
        return;
    Marks.Reload(*Resume, path);
    const RowMark mark = Marks.MarkOf(path);
    const QString name = QFileInfo(path).fileName();
    if (JoinPath(File1->Path(), name) == path)
        File1->SetMark(File1->Row(name), mark);
    Favorites->MarkPath(path, mark);
}

QAbstractItemView *Reelbox_S::ListOf(qint16 side) const
{
    return side == 0 ? static_cast<QAbstractItemView *>(File1) : List_Favorite;
}

// 視聴済み keeps the length known and starts the file at 0 next time; 未視聴
// forgets its point.
void Reelbox_S::MarkSelected(qint16 side, bool watched)
{
    QStringList paths;
    for (const QModelIndex &selected : ListOf(side)->selectionModel()->selectedIndexes())
        paths.append(ListEntry(side, selected.row()));
    for (const QString &path : paths) {
        if (watched) {
            const std::optional<StoredPoint> stored = Resume->Stored(path);
            Resume->SaveFile(path, {0, stored ? stored->point.duration : 0, true});
        } else {
            Resume->ForgetFile(path);
        }
        RefreshMarks(path);
    }
}

std::optional<int> Reelbox_S::FirstUnwatched(qint16 side) const
{
    const QAbstractItemModel *rows = ListOf(side)->model();
    for (int row = 0; row < rows->rowCount(); ++row)
        if (RowMarkOf(rows->index(row, 0)).kind != RowMark::Kind::Watched)
            return row;
    return std::nullopt;
}

// As 連続再生 of the list, from that entry.
void Reelbox_S::PlayFromFirstUnwatched(qint16 side)
{
    const std::optional<int> first = FirstUnwatched(side);
    if (!first || PlayersShowing > 0)
        return;
    B.InPlayLoop = 0;
    const qint16 count = side == 0 ? File1->ListCount() : List_Favorite->ListCount();
    PlayListContinuously(count, static_cast<qint16>(*first), side);
}
