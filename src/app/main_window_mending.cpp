// Favourites whose files were moved: 「見つからないファイルを探す」 in the
// favourites list's context menu looks for the files of the entries that are
// gone (moved_favorites.h) while a progress window that can be cancelled
// shows, then lists what it found and, once the user agrees, rewrites every
// group's list file that names them.

#include "app/main_window.h"

#include "app/favorite_sizes.h"
#include "app/favorites_menu.h"
#include "app/list_file.h"
#include "app/moved_favorites.h"
#include "app/reelbox_b.h"
#include "base/file_names.h"
#include "base/program_name.h"
#include "widgets/list_box.h"

#include <QProgressDialog>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int ProgressDelayMilliseconds = 500;

// More lines than this make a question taller than a screen.
constexpr int MaxListedMoves = 15;

QString MovesText(const QList<MovedFile> &found)
{
    QStringList lines;
    const auto list = [&](const MovedFile &file) {
        if (lines.size() == MaxListedMoves) {
            lines.append(QStringLiteral("…"));
            return;
        }
        if (lines.size() > MaxListedMoves)
            return;
        lines.append(DisplayFileName(file.oldPath));
        for (const QString &candidate : file.candidates)
            lines.append((file.Found() ? QStringLiteral("    → ") : QStringLiteral("    ? "))
                         + DisplayFileName(candidate));
        if (file.byNameOnly && file.Found())
            lines.append(QStringLiteral("    (大きさの記録がないため、名前だけで探しました)"));
    };
    QStringList text;
    const qsizetype mended = std::count_if(found.cbegin(), found.cend(), [](const MovedFile &f) { return f.Found(); });
    if (mended > 0) {
        text.append(QStringLiteral("%1 個のファイルの新しい場所が見つかりました。"
                                   "これらを記録しているすべてのグループの Favorite ﾘｽﾄを書き換えますか?")
                        .arg(mended));
        for (const MovedFile &file : found)
            if (file.Found())
                list(file);
        text.append(lines.join(u'\n'));
        lines.clear();
    }
    if (mended < found.size()) {
        text.append(QStringLiteral("同じ名前と大きさのファイルが複数あるため、次の %1 個は変更しません。")
                        .arg(found.size() - mended));
        for (const MovedFile &file : found)
            if (!file.Found())
                list(file);
        text.append(lines.join(u'\n'));
    }
    return text.join(QStringLiteral("\n\n"));
}

} // namespace

void Reelbox_S::ConnectFavoritesMenu()
{
    FavoritesContextMenu = new FavoritesMenu(List_Favorite);
    FavoritesContextMenu->AddItem(
        QStringLiteral("見つからないファイルを探す"), [this] { FindMovedFavorites(); },
        [this] { return !MovedSearch && List_Favorite->ListCount() > 0; });
}

void Reelbox_S::FindMovedFavorites()
{
    if (MovedSearch)
        return;
    MovedSearch = new MovedFileSearch(List_Favorite->Entries(), Sizes ? Sizes->All() : FileSizes(), this);
    auto *progress = new QProgressDialog(QStringLiteral("見つからないファイルを探しています…"),
                                         QStringLiteral("キャンセル"), 0, 0, this);
    progress->setWindowTitle(ProgramName);
    progress->setWindowModality(Qt::NonModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, MovedSearch, &MovedFileSearch::Cancel);
    connect(MovedSearch, &MovedFileSearch::Progress, progress, [progress](int folders) {
        progress->setLabelText(QStringLiteral("見つからないファイルを探しています… (%1 フォルダ)").arg(folders));
    });
    connect(MovedSearch, &MovedFileSearch::Done, this, [this, progress](const QList<MovedFile> &found, bool cancelled) {
        delete progress; // at once: under the question below a later deletion would wait, and it could show
        MovedSearch->deleteLater();
        MovedSearch = nullptr;
        if (!cancelled)
            OfferMovedFavorites(found);
    });
    // A search that ends at once shows no window that would only flash.
    QTimer::singleShot(ProgressDelayMilliseconds, progress, &QWidget::show);
}

void Reelbox_S::OfferMovedFavorites(const QList<MovedFile> &found)
{
    if (found.isEmpty()) {
        ShowMessage(QStringLiteral("見つからないファイルの新しい場所は見つかりませんでした。"),
                    MessageBoxStyle::Information, ProgramName);
        return;
    }
    QHash<QByteArray, QString> moves;
    for (const MovedFile &file : found)
        if (file.Found() && FitsListRecord(file.candidates.first()))
            moves.insert(EncodeFileName(file.oldPath), file.candidates.first());
    if (moves.isEmpty()) {
        ShowMessage(MovesText(found), MessageBoxStyle::Information, ProgramName);
        return;
    }
    if (ShowMessage(MovesText(found), MessageBoxStyle::Question | MessageBoxStyle::YesNo, ProgramName)
        == MessageBoxAnswer::Yes)
        MendFavorites(moves);
}

// Each list file is read as it is on disk and saved once, in one step, with
// only the records of the moved files changed; the shown list follows.
void Reelbox_S::MendFavorites(const QHash<QByteArray, QString> &moves)
{
    QStringList unsaved;
    for (int group = 0; group < GroupCount; ++group) {
        const QString file = B.GroupFile(group);
        if (B.UnreadableGroups[group] || ListFileUnreadable(file))
            continue;
        bool changed = false;
        const QList<QByteArray> records = MendRecords(ReadListFile(file), moves, changed);
        if (changed && !B.SaveGroup(group, records))
            unsaved.append(file);
    }
    CarrySizes(moves);
    for (int row = 0; row < List_Favorite->ListCount(); ++row) {
        const auto move = moves.constFind(EncodeFileName(List_Favorite->List(row)));
        if (move != moves.cend())
            ReplaceFavoriteEntry(row, *move);
    }
    if (!unsaved.isEmpty())
        ShowMessage(QStringLiteral("次の Favorite ﾘｽﾄを保存できませんでした。\n%1").arg(unsaved.join(u'\n')),
                    MessageBoxStyle::Exclamation, ProgramName);
}

// A moved file keeps its size under its new path, for the groups not shown.
void Reelbox_S::CarrySizes(const QHash<QByteArray, QString> &moves)
{
    if (!Sizes)
        return;
    QList<SeenFile> moved;
    for (auto move = moves.cbegin(); move != moves.cend(); ++move)
        if (const auto size = Sizes->All().constFind(move.key()); size != Sizes->All().cend())
            moved.append({*move, *size});
    Sizes->Record(moved);
}
