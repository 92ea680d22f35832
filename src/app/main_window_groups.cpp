// The favourites groups: twenty markers over the list, each showing whether
// its group is the current one, holds entries or is empty; a press on one
// keeps the current group in its list file and brings the other one's in.

#include "app/main_window.h"

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/program_name.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

void Reelbox_S::ShowGroupMarkers()
{
    for (int n = 0; n < int(Img_G.size()); ++n) {
        if (ListFileRecordCount(B.GroupFile(n)) != 0)
            Img_G[n]->SetPictureProperty(Img_Scan->PictureProperty());
    }
    Img_G[B.GroupNo]->SetPictureProperty(Img_pos_on->PictureProperty());
}

void Reelbox_S::Img_G_MouseDown(qint16 Index)
{
    if (Index == B.GroupNo || Index < 0 || Index >= qint16(Img_G.size()))
        return;
    // The group stays current when its entries could not be kept: switching
    // would lose them.
    if (!SaveCurrentGroup())
        return;
    const bool filled = List_Favorite->ListCount() > 0 || B.UnreadableGroups[B.GroupNo];
    Img_G[B.GroupNo]->SetPictureProperty(filled ? Img_Scan->PictureProperty() : Img_pos_off->PictureProperty());
    LoadFavorites(Index);
    Img_G[Index]->SetPictureProperty(Img_pos_on->PictureProperty());
    B.GroupNo = Index;
    EnableFavoriteButtons();
}

void Reelbox_S::TellIfUnreadable(qint16 group)
{
    if (!B.UnreadableGroups[group] || UnreadableGroupsTold[group])
        return;
    UnreadableGroupsTold[group] = true;
    Tell(QStringLiteral("グループ %1 の Favorite ﾘｽﾄを読み込めませんでした。\n%2\n\n"
                        "このファイルはそのまま残し、このグループへの変更は保存しません。")
             .arg(group + 1)
             .arg(B.GroupFile(group)));
}

// The new list file replaces the old one in one step, so a failure or a crash
// on the way leaves the group as it was last saved, never empty.
bool Reelbox_S::SaveCurrentGroup()
{
    if (B.SaveGroup(B.GroupNo, FavoriteRecords()))
        return true;
    ShowMessage(QStringLiteral("グループ %1 の Favorite ﾘｽﾄを保存できませんでした。\n%2")
                    .arg(B.GroupNo + 1)
                    .arg(JoinPath(B.Storage.Folder, ListFileTitle(B.GroupNo))),
                MessageBoxStyle::Exclamation, ProgramName);
    return false;
}
