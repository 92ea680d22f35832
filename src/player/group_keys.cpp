#include "player/group_keys.h"

#include "app/list_file.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// The number row's keys 1 .. 0 as X keyboards number them (on Wayland too).
constexpr quint32 FirstRowCode = 10, LastRowCode = 19;

bool KeyCodesAreX()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

// The key's place in the row, 0 for 1 up to 9 for 0.
std::optional<int> RowPlace(const QKeyEvent &event)
{
    const quint32 code = event.nativeScanCode();
    if (KeyCodesAreX() && code >= FirstRowCode && code <= LastRowCode)
        return int(code - FirstRowCode);
    // Without X key codes (and on the keypad), the digit typed.
    const int key = event.key();
    if (key == Qt::Key_0)
        return 9;
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return key - Qt::Key_1;
    return std::nullopt;
}

} // namespace

std::optional<int> FavoriteGroupOfKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
    if (held & ~Qt::ShiftModifier)
        return std::nullopt;
    const std::optional<int> place = RowPlace(event);
    if (!place)
        return std::nullopt;
    const bool shifted = held & Qt::ShiftModifier;
    if (shifted && (event.modifiers() & Qt::KeypadModifier))
        return std::nullopt; // Shift turns the keypad's digits into its arrows
    return *place + (shifted ? 10 : 0);
}

QString GroupAdditionNote(int group, GroupAddition result)
{
    const int shown = group + 1; // as the markers count
    switch (result) {
    case GroupAddition::Added: return QStringLiteral("グループ%1に登録しました").arg(shown);
    case GroupAddition::AlreadyThere: return QStringLiteral("登録済み");
    case GroupAddition::TooLong:
        return QStringLiteral("パスが長すぎて登録できません (%1 バイトまで)").arg(ListRecordLength);
    case GroupAddition::GroupFull: return QStringLiteral("グループ%1はいっぱいです").arg(shown);
    case GroupAddition::NotSaved: return QStringLiteral("グループ%1に保存できませんでした").arg(shown);
    }
    return {};
}
