// The skinned buttons' commands.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "controls/command.h"
#include "platform/dir_list_box.h"
#include "platform/list_box.h"

#include <QApplication>

void Reelbox_S::Comd_Click(qint16 Index)
{
    QApplication::processEvents();
    B.InPlayLoop = 0;
    switch (Index) {
    case 6: // leave without saving
        close();
        break;
    case 7: // save, then leave
        SaveSettings();
        close();
        break;
    default:
        break;
    }
}

void Reelbox_S::SaveSettings()
{
    B.SaveSettings(Dir1->Path(), List_Favorite->Entries());
}

void Reelbox_S::EnableFavoriteButtons()
{
    for (int index : {2, 3, 4, 5})
        Comd[index]->SetEnabled(false);
    if (List_Favorite->ListCount() > 1) {
        Comd[2]->SetEnabled(true);
        Comd[5]->SetEnabled(true);
    }
}
