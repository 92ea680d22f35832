// Which group a key press adds to: by the key's place on an X keyboard,
// whatever character the layout gives it.

#include "player/group_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

TEST(GroupKeys, TheNumberRowByPlaceAndTheKeypadByDigit)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "X key codes are read only on X";
    const struct
    {
        const char *what;
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 code;
        std::optional<int> group;
    } cases[] = {
        {"1", Qt::Key_1, Qt::NoModifier, 10, 0},
        {"0", Qt::Key_0, Qt::NoModifier, 19, 9},
        {"Shift+2 as \"", Qt::Key_QuoteDbl, Qt::ShiftModifier, 11, 11},
        {"Shift+0 as a layout's =", Qt::Key_Equal, Qt::ShiftModifier, 19, 19},
        {"a layout's 2 key typing é", Qt::Key_Eacute, Qt::NoModifier, 11, 1},
        {"keypad 7", Qt::Key_7, Qt::KeypadModifier, 79, 6},
        {"Shift+keypad 7 (Home)", Qt::Key_Home, Qt::KeypadModifier | Qt::ShiftModifier, 79, std::nullopt},
        {"Ctrl+1", Qt::Key_1, Qt::ControlModifier, 10, std::nullopt},
        {"Alt+1", Qt::Key_1, Qt::AltModifier, 10, std::nullopt},
        {"q", Qt::Key_Q, Qt::NoModifier, 24, std::nullopt},
        {"Shift alone", Qt::Key_Shift, Qt::ShiftModifier, 50, std::nullopt},
    };
    for (const auto &c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.code, 0, 0);
        EXPECT_EQ(FavoriteGroupOfKey(event), c.group) << c.what;
    }
}

} // namespace
