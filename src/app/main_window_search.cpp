// Ctrl+F: the favourites search over all groups (favorite_search_view.h). A
// match plays as 再生 plays a favourite. While the search shows, the
// favourites buttons rest, since what they act on (the current group's
// list) is out of sight; when it closes they show what the list allows again,
// 再生 and ﾘｽﾄから削除 armed when they were before.

#include "app/main_window.h"

#include "app/favorite_list.h"
#include "app/favorite_search_view.h"
#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "controls/command.h"
#include "widgets/list_box.h"

#include <QApplication>
#include <QShortcut>

bool Reelbox_S::Searching() const
{
    return Search && Search->IsOpen();
}

void Reelbox_S::SetUpFavoriteSearch()
{
    Search = new FavoriteSearch(
        List_Favorite, [this] { return int(B.GroupNo); }, [this] { return Favorites->Entries(); },
        [this](int group) { return B.GroupFile(group); });
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, Search, &FavoriteSearch::Open);
    connect(Search, &FavoriteSearch::Play, this, &Reelbox_S::PlayFoundFavorite);
    connect(Search, &FavoriteSearch::Opened, this, [this] {
        FavoritesArmedBeforeSearch = Comd[RemoveFavoriteButton]->EnabledProperty();
        for (ButtonIndex button : {PlayFavoritesButton, PlayFavoriteButton, RemoveFavoriteButton, ClearFavoritesButton})
            Comd[button]->SetEnabledProperty(false);
    });
    connect(Search, &FavoriteSearch::Closed, this, [this] {
        EnableFavoriteButtons();
        if (FavoritesArmedBeforeSearch)
            List_Favorite_MouseDown(); // as the press that armed them did
    });
}

void Reelbox_S::PlayFoundFavorite(const QString &path)
{
    QApplication::processEvents();
    B.InPlayLoop = 0;
    if (PlayableNow(path))
        PlaySelected(path, 1);
    Search->Refresh(); // the player's group keys may have added to a group
}
