// The trash picture: a file dragged onto it from the file list goes to the
// desktop's trash (after a question when the confirmation switch is on), and
// for a while Ctrl+Z puts it back, with the file list showing as before.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/file_names.h"
#include "base/program_name.h"
#include "desktop/trash.h"
#include "widgets/file_list_box.h"

#include <QShortcut>

namespace {

QString NameOf(const QString &path)
{
    return DisplayFileName(path.mid(path.lastIndexOf(u'/') + 1));
}

// The row that shows the file at path; -1 when the list shows none there.
int RowOfPath(const FileListBox &files, const QString &path)
{
    for (int row = 0; row < files.ListCount(); ++row)
        if (JoinPath(files.Path(), files.List(row)) == path)
            return row;
    return -1;
}

int RowOf(const FileListBox &files, const FileListView &view)
{
    return view.selected.isEmpty() ? -1 : RowOfPath(files, JoinPath(view.folder, view.selected));
}

} // namespace

void Reelbox_S::ConnectTrashUndo()
{
    Undo = new TrashUndo(this);
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WindowShortcut);
    connect(undo, &QShortcut::activated, this, &Reelbox_S::UndoTrash);
}

void Reelbox_S::Img_Del_DragDrop(const QString &draggedFile)
{
    const FileListView before = ViewOfFiles();
    const int draggedRow = RowOfPath(*File1, draggedFile);
    const std::optional<TrashedFile> trashed = draggedFile.isEmpty() ? std::nullopt : DeleteFile(draggedFile);
    RelistFiles();
    File1->SetFirstVisibleRow(before.firstVisible);
    // The file's neighbour takes its place as the selection; a file that
    // stayed keeps the selection as it was.
    const bool gone = !draggedFile.isEmpty() && KindOfPath(draggedFile) == PathKind::Missing;
    if (gone && draggedRow >= 0)
        File1->SetListIndex(qint16(qMin(draggedRow, File1->ListCount() - 1)));
    else
        File1->SetListIndex(qint16(RowOf(*File1, before)));
    if (trashed)
        Undo->Offer(*trashed, before);
    if (gone)
        CheckFavorites(); // its entries show it gone
}

// With the confirmation switch on the user is asked first; either way the
// file goes to the trash, so that a drag that slipped can be taken back. Only
// with the switch off, where its drive has no trash and none can be made, is
// it deleted for good.
std::optional<TrashedFile> Reelbox_S::DeleteFile(const QString &path)
{
    if (B.Kakunin == 1 && !ConfirmTrash({path}))
        return std::nullopt;
    TrashedFile trashed;
    const TrashResult result = MoveFileToTrash(path, trashed);
    if (result == TrashResult::Trashed)
        return trashed;
    if (result == TrashResult::NoTrash && B.Kakunin != 1) {
        if (!RemoveFileAt(path) && KindOfPath(path) != PathKind::Missing)
            ShowMessage(QStringLiteral("'%1' を削除できませんでした。").arg(NameOf(path)), MessageBoxStyle::Exclamation,
                        ProgramName);
        return std::nullopt;
    }
    if (KindOfPath(path) != PathKind::Missing)
        ShowMessage(
            QStringLiteral("'%1' をごみ箱に移動できませんでした。ファイルはそのまま残っています。").arg(NameOf(path)),
            MessageBoxStyle::Exclamation, ProgramName);
    return std::nullopt;
}

// The folder read afresh, so a deleted file is gone from the list and a
// restored one back in it.
void Reelbox_S::RelistFiles()
{
    File1->Refresh();
    EnableFileButtons();
    TellAboutFilesLeftOut();
}

FileListView Reelbox_S::ViewOfFiles() const
{
    return {File1->Path(), File1->FileName(), File1->FirstVisibleRow()};
}

// The file list as it was, when it still shows that folder.
void Reelbox_S::ShowFiles(const FileListView &view)
{
    if (File1->Path() != view.folder)
        return;
    RelistFiles();
    File1->SetListIndex(qint16(RowOf(*File1, view)));
    File1->SetFirstVisibleRow(view.firstVisible);
}

// Ctrl+Z: the file last trashed, back at its place, once; nothing when none
// is on offer. Where something else now has its name it stays in the trash,
// and the user is told.
void Reelbox_S::UndoTrash()
{
    const TrashedFile *offered = Undo->File();
    if (!offered)
        return;
    const TrashedFile file = *offered;
    const QString name = NameOf(file.originalPath);
    switch (RestoreFromTrash(file)) {
    case RestoreResult::Restored: {
        const FileListView before = Undo->Before();
        Undo->Withdraw();
        ShowFiles(before);
        CheckFavorites();
        return;
    }
    case RestoreResult::Occupied:
        ShowMessage(QStringLiteral("元の場所に '%1' という名前のものがあるため、ごみ箱から戻せませんでした。"
                                   "ファイルはごみ箱に残っています。")
                        .arg(name),
                    MessageBoxStyle::Exclamation, ProgramName);
        return;
    case RestoreResult::Gone:
        Undo->Withdraw();
        ShowMessage(QStringLiteral("'%1' はもうごみ箱にありません。").arg(name), MessageBoxStyle::Exclamation,
                    ProgramName);
        return;
    case RestoreResult::Failed:
        ShowMessage(QStringLiteral("'%1' を元の場所に戻せませんでした (フォルダがないか、書き込めません)。"
                                   "ファイルはごみ箱に残っています。")
                        .arg(name),
                    MessageBoxStyle::Exclamation, ProgramName);
        return;
    }
}
