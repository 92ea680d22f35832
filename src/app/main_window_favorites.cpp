// The favourites list: selecting and playing an entry, adding files dragged
// from the file list or dropped from the file manager, and deleting a file
// dragged onto the trash picture.

#include "app/main_window.h"

#include "app/favorite_files.h"
#include "app/player_factory.h"
#include "app/reelbox_b.h"
#include "controls/command.h"
#include "platform/drop_formats.h"
#include "platform/file_list_box.h"
#include "platform/list_box.h"
#include "platform/picture_label.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

namespace {

// A pattern no listed file matches: setting it empties the file list.
const QString NoFiles = QStringLiteral("*.999");

} // namespace

void Reelbox_S::ConnectFavorites()
{
    List_Favorite->SetDropFormats({FileDragFormat, UriListFormat});
    Img_Del->SetDropFormats({FileDragFormat});
    connect(List_Favorite, &ListBox::MouseDown, this, &Reelbox_S::List_Favorite_MouseDown);
    connect(List_Favorite, &ListBox::DblClick, this, &Reelbox_S::List_Favorite_DblClick);
    connect(List_Favorite, &ListBox::DragDrop, this, [this](const QMimeData *data) {
        // A drag from the file list stands for its selected file; anything
        // else is what a file manager dropped.
        if (data->hasFormat(FileDragFormat))
            List_Favorite_DragDrop();
        else
            List_Favorite_OLEDragDrop(data->urls());
    });
    connect(Img_Del, &PictureLabel::DragDrop, this, &Reelbox_S::Img_Del_DragDrop);
    for (qint16 index = 0; index < qint16(Img_G.size()); ++index)
        connect(Img_G[index], &PictureLabel::MouseDown, this, [this, index] { Img_G_MouseDown(index); });
}

void Reelbox_S::List_Favorite_MouseDown()
{
    const qint16 selected = List_Favorite->ListIndex();
    if (selected < 0)
        return;
    FavoriteStartIndex = selected;
    Comd[PlayFavoriteButton]->SetEnabled(true);
    Comd[RemoveFavoriteButton]->SetEnabled(true);
}

// Plays the entry once in the RealAudio window, whatever its kind and the
// repeat switch say.
void Reelbox_S::List_Favorite_DblClick()
{
    const qint16 selected = List_Favorite->ListIndex();
    if (selected < 0)
        return;
    FavoriteStartIndex = selected;
    B.PlayFile = List_Favorite->List(selected);
    B.PlaySource = 1;
    ShowPlayer(PlayerWindow::RealAudio);
}

void Reelbox_S::List_Favorite_DragDrop()
{
    AddFavorites({JoinPath(File1->Path(), File1->FileName())});
}

void Reelbox_S::List_Favorite_OLEDragDrop(const QList<QUrl> &dropped)
{
    AddFavorites(DroppedVideoFiles(dropped));
}

void Reelbox_S::AddFavorites(const QStringList &paths)
{
    const FavoriteCandidates candidates = SplitByRecordFit(paths);
    for (const QString &path : candidates.fitting)
        List_Favorite->AddItem(path);
    EnableFavoriteButtons();
    if (!candidates.tooLong.isEmpty())
        ShowMessage(TooLongMessage(candidates.tooLong), MessageBoxStyle::Exclamation, QStringLiteral("Reelbox"));
}

void Reelbox_S::Img_Del_DragDrop()
{
    const int firstVisible = File1->FirstVisibleRow();
    const QString name = File1->FileName();
    if (!name.isEmpty())
        DeleteFile(JoinPath(File1->Path(), name));
    RelistFiles();
    File1->SetFirstVisibleRow(firstVisible);
}

// With the confirmation switch on, the file goes to the desktop's trash after
// the user agreed; where the trash cannot take it, it stays where it is (it is
// never deleted for good instead). With the switch off it is deleted at once.
void Reelbox_S::DeleteFile(const QString &path)
{
    const QString title = QStringLiteral("Reelbox");
    if (B.Kakunin == 1) {
        if (DeleteToRecycleBin({path}, ConfirmTrash) == TrashFailed)
            ShowMessage(QStringLiteral("'%1' をごみ箱に移動できませんでした。ファイルはそのまま残っています。")
                            .arg(QFileInfo(path).fileName()),
                        MessageBoxStyle::Exclamation, title);
        return;
    }
    if (!QFile::remove(path) && QFileInfo::exists(path))
        ShowMessage(QStringLiteral("'%1' を削除できませんでした。").arg(QFileInfo(path).fileName()),
                    MessageBoxStyle::Exclamation, title);
}

// Lists the folder afresh through an empty pattern and back, so the deleted
// file is gone from the list.
void Reelbox_S::RelistFiles()
{
    File1->SetPattern(NoFiles);
    QApplication::processEvents();
    File1->SetPattern(Combo_Kind->currentText());
    QApplication::processEvents();
    EnableFileButtons();
}
