#pragma once
// The player windows' group keys: the number row's 1 to 9 and 0 add the
// playing file to favourites groups 1 to 10, the same keys with Shift to
// groups 11 to 20. The keys are known by their place on the keyboard, not by
// the character they type, so Shift+2 is group 12 whatever the layout makes
// of it (", @ or é). Keypad digits count as the number row without Shift.

#include "app/favorite_groups.h"

#include <QString>
#include <optional>

class QKeyEvent;

// The group (0..19) a key press adds to; none for any other key, and for
// digits held with Ctrl, Alt or Meta.
std::optional<int> FavoriteGroupOfKey(const QKeyEvent &event);

// What the player's note says of an addition to group (0..19).
QString GroupAdditionNote(int group, GroupAddition result);
