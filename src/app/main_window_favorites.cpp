// The favourites list: selecting and playing an entry, adding files dragged
// from the file list or dropped from the file manager, and the drops on the
// trash picture (handled in main_window_trash.cpp).

#include "app/main_window.h"

#include "app/favorite_files.h"
#include "app/favorite_list.h"
#include "app/player_factory.h"
#include "app/reach_checker.h"
#include "app/reelbox_b.h"
#include "base/file_names.h"
#include "base/file_url.h"
#include "base/program_name.h"
#include "controls/command.h"
#include "desktop/mount_watcher.h"
#include "widgets/drop_formats.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QMimeData>

void Reelbox_S::ConnectFavorites()
{
    List_Favorite->SetDropFormats({FileDragFormat, UriListFormat});
    Img_Del->SetDropFormats({FileDragFormat});
    connect(List_Favorite, &ListBox::MouseDown, this, &Reelbox_S::List_Favorite_MouseDown);
    connect(List_Favorite, &ListBox::DblClick, this, &Reelbox_S::List_Favorite_DblClick);
    connect(List_Favorite, &ListBox::SelectionChange, this, &Reelbox_S::DisarmFavoriteButtonsWithoutSelection);
    connect(List_Favorite, &ListBox::DragDrop, this, [this](const QMimeData *data, QObject *source) {
        // The file list's own format is offered only by a drag that started
        // in this window; a drag from anywhere else (another copy of the
        // program too) brings its files by their URLs.
        if (source && data->hasFormat(FileDragFormat))
            List_Favorite_DragDrop(FileListBox::DraggedFile(data));
        else
            List_Favorite_OLEDragDrop(data->data(UriListFormat));
    });
    // The trash picture takes only drags from this window's file list (the
    // drop formats refuse the same format from another process).
    connect(Img_Del, &PictureLabel::DragDrop, this, [this](const QMimeData *data, QObject *source) {
        if (source == File1)
            Img_Del_DragDrop(FileListBox::DraggedFile(data));
    });
    connect(Mounts, &MountWatcher::Changed, this, &Reelbox_S::CheckFavorites);
    connect(Reach, &ReachChecker::Answered, this, &Reelbox_S::ShowReachAnswers);
    ConnectTrashUndo();
    ConnectFavoritesMenu();
    for (qint16 index = 0; index < qint16(Img_G.size()); ++index)
        connect(Img_G[index], &PictureLabel::MouseDown, this, [this, index] { Img_G_MouseDown(index); });
}

void Reelbox_S::List_Favorite_MouseDown()
{
    const qint16 selected = List_Favorite->ListIndex();
    if (selected < 0)
        return;
    FavoriteStartIndex = selected;
    // An entry that cannot be played now can still be removed. 再生 follows
    // what the entry shows, and what a fresh look at its file finds.
    Comd[PlayFavoriteButton]->SetEnabledProperty(Favorites->ShownPlayable(selected));
    Comd[RemoveFavoriteButton]->SetEnabledProperty(true);
    Reach->Check(Favorites->Questions(selected, selected + 1), false);
}

// What ﾘｽﾄから削除 and 再生 act on is what shows selected: with nothing
// selected (a Ctrl+click, a key) they are disarmed.
void Reelbox_S::DisarmFavoriteButtonsWithoutSelection()
{
    if (List_Favorite->ListIndex() >= 0)
        return;
    Comd[PlayFavoriteButton]->SetEnabledProperty(false);
    Comd[RemoveFavoriteButton]->SetEnabledProperty(false);
}

// Plays the entry once in the RealAudio window, whatever its kind and the
// repeat switch say.
void Reelbox_S::List_Favorite_DblClick()
{
    const qint16 selected = List_Favorite->ListIndex();
    if (selected < 0)
        return;
    FavoriteStartIndex = selected;
    if (!CheckFavorite(selected))
        return;
    B.PlayFile = List_Favorite->List(selected);
    B.PlaySource = 1;
    ShowPlayer(PlayerWindow::RealAudio);
}

void Reelbox_S::List_Favorite_DragDrop(const QString &draggedFile)
{
    if (!draggedFile.isEmpty())
        AddFavorites({draggedFile});
}

void Reelbox_S::List_Favorite_OLEDragDrop(const QByteArray &uriList)
{
    AddFavorites(DroppedVideoFiles(uriList, QString::fromStdString(ThisHostName())));
}

void Reelbox_S::AddFavorites(const QStringList &paths)
{
    const FavoriteCandidates candidates = SplitFavoriteCandidates(paths, MaxListEntries - List_Favorite->ListCount());
    AppendFavorites(candidates.fitting);
    EnableFavoriteButtons();
    const QString notAdded = NotAddedMessage(candidates);
    if (!notAdded.isEmpty())
        ShowMessage(notAdded, MessageBoxStyle::Exclamation, ProgramName);
}
