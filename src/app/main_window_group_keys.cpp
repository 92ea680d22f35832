// The player windows' group keys: the playing file joins a group. The group
// shown takes it into its list, which is saved as the list always is (a
// switch, 終了); any other group's list file holds it at once. Either way the
// group's marker then shows that it holds entries.

#include "app/main_window.h"

#include "app/group_adder.h"
#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

GroupAddition Reelbox_S::AddToGroup(int group, const QString &path)
{
    if (group < 0 || group >= int(Img_G.size()))
        return GroupAddition::NotSaved;
    if (group != B.GroupNo) {
        const GroupAddition result = AddToGroupFile(B, group, path);
        if (result == GroupAddition::Added) {
            Img_G[group]->SetPictureProperty(Img_Scan->PictureProperty());
            DescribeGroupMarkers();
        }
        return result;
    }
    if (!FitsListRecord(path))
        return GroupAddition::TooLong;
    if (B.UnreadableGroups[group]) // its saves keep the file as it is: the entry would be lost
        return GroupAddition::NotSaved;
    if (List_Favorite->Entries().contains(path) || RecordsHold(RecordsPastLimit, path))
        return GroupAddition::AlreadyThere;
    if (List_Favorite->ListCount() >= MaxListEntries)
        return GroupAddition::GroupFull;
    AppendFavorites({path});
    if (Searching())
        DescribeGroupMarkers(); // the buttons rest until the search closes
    else
        EnableFavoriteButtons();
    return GroupAddition::Added;
}
