// The trash picture: a file dragged onto it from the file list goes to the
// desktop's trash (after a question when the confirmation switch is on), and
// for a while Ctrl+Z puts it back, with the file list showing as before.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/file_names.h"
#include "base/program_name.h"
#include "widgets/file_list_box.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QShortcut>

namespace {

// A pattern no listed file matches: setting it empties the file list.
const QString NoFiles = QStringLiteral("*.999");

int RowOf(const FileListBox &files, const QString &name)
{
    for (int row = 0; row < files.ListCount(); ++row)
        if (files.List(row) == name)
            return row;
    return -1;
}

int RowOfPath(const FileListBox &files, const QString &path)
{
    for (int row = 0; row < files.ListCount(); ++row)
        if (JoinPath(files.Path(), files.List(row)) == path)
            return row;
    return -1;
}

QString NameOf(const QString &path)
{
    return DisplayFileName(QFileInfo(path).fileName());
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
        File1->SetListIndex(qint16(RowOf(*File1, before.selected)));
    if (trashed)
        Undo->Offer(*trashed, before);
    if (gone)
        CheckFavorites(); // its entries show it gone
}

std::optional<TrashedFile> Reelbox_S::DeleteFile(const QString &path)
{
    const QString title = ProgramName;
    if (B.Kakunin == 1) {
        QList<TrashedFile> trashed;
        if (DeleteToRecycleBin({path}, ConfirmTrash, &trashed) == TrashFailed)
            ShowMessage(QStringLiteral("'%1' をごみ箱に移動できませんでした。ファイルはそのまま残っています。")
                            .arg(NameOf(path)),
                        MessageBoxStyle::Exclamation, title);
        return trashed.isEmpty() ? std::nullopt : std::optional(trashed.first());
    }
    // Without the question the file still goes to the trash, so that a drag
    // that slipped can be taken back; only where its drive has no trash, and
    // none can be made, is it deleted for good.
    TrashedFile trashed;
    switch (MoveFileToTrash(path, trashed)) {
    case TrashResult::Trashed: return trashed;
    case TrashResult::NoTrash:
        if (!RemoveFileAt(path) && KindOfPath(path) != PathKind::Missing)
            ShowMessage(QStringLiteral("'%1' を削除できませんでした。").arg(NameOf(path)), MessageBoxStyle::Exclamation,
                        title);
        return std::nullopt;
    case TrashResult::Failed:
        if (KindOfPath(path) != PathKind::Missing)
            ShowMessage(QStringLiteral("'%1' をごみ箱に移動できませんでした。ファイルはそのまま残っています。")
                            .arg(NameOf(path)),
                        MessageBoxStyle::Exclamation, title);
        return std::nullopt;
    }
    return std::nullopt;
}

// Lists the folder afresh through an empty pattern and back, so a deleted
// file is gone from the list and a restored one back in it.
void Reelbox_S::RelistFiles()
{
    File1->SetPattern(NoFiles);
    QApplication::processEvents();
    File1->SetPattern(Combo_Kind->currentText());
    QApplication::processEvents();
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
    File1->SetListIndex(qint16(RowOf(*File1, view.selected)));
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
