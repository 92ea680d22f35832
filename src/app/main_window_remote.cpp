// What the desktop's media controls are told of the play command under way,
// and the switches they may set: a set is the user's own click on the switch,
// seen on the main window and saved with the others.

#include "app/main_window.h"

#include "app/play_order.h"

bool Reelbox_S::RemoteHasNext() const
{
    switch (Playing.kind) {
    case PlayKind::Selected: return RepeatSwitch(Playing.side) != 0;
    case PlayKind::Continuous: return Playing.course->HasNext(OrderSwitch(Playing.side) != 0);
    case PlayKind::Given: return Playing.course->HasNext(false);
    default: return false; // a double-click plays one file
    }
}

std::optional<bool> Reelbox_S::RemoteRepeats() const
{
    if (Playing.kind != PlayKind::Selected)
        return std::nullopt;
    return RepeatSwitch(Playing.side) != 0;
}

void Reelbox_S::RemoteSetRepeat(bool on)
{
    if (RemoteRepeats().value_or(on) == on)
        return;
    if (Playing.side == 0)
        Img_Rep1_MouseDown();
    else
        Img_Rep2_MouseDown();
}

std::optional<bool> Reelbox_S::RemoteShuffles() const
{
    if (Playing.kind != PlayKind::Continuous)
        return std::nullopt;
    return OrderSwitch(Playing.side) != 0;
}

void Reelbox_S::RemoteSetShuffle(bool on)
{
    if (Playing.kind != PlayKind::Continuous)
        return;
    if (Playing.side == 0)
        Img_rdm1_MouseDown(on ? 1 : 0);
    else
        Img_rdm2_MouseDown(on ? 1 : 0);
}
