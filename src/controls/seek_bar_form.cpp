#include "controls/seek_bar_form.h"

#include "widgets/picture_label.h"

#include <QPixmap>

PropertyBag H1StoredProperties()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("buttonsvisible"), false, true);
    bag.WriteProperty(QStringLiteral("orientation"), 0, 1);
    bag.WriteProperty(QStringLiteral("thumbalignment"), 5, 0);
    // An empty picture, not a missing one: loading it fits the track to the bar.
    bag.WriteProperty(QStringLiteral("picturebackground"), QVariant::fromValue(QPixmap()), QVariant());
    bag.WriteProperty(QStringLiteral("pictureup"), SkinPicture(QStringLiteral("scroll_up")), QVariant());
    bag.WriteProperty(QStringLiteral("picturedown"), SkinPicture(QStringLiteral("scroll_down")), QVariant());
    bag.WriteProperty(QStringLiteral("pictureright"), SkinPicture(QStringLiteral("scroll_right")), QVariant());
    bag.WriteProperty(QStringLiteral("pictureleft"), SkinPicture(QStringLiteral("scroll_left")), QVariant());
    bag.WriteProperty(QStringLiteral("picturethumb"), SkinPicture(QStringLiteral("scroll_thumb")), QVariant());
    bag.WriteProperty(QStringLiteral("max"), 32767, 2147483647.0);
    bag.WriteProperty(QStringLiteral("backcolor"), 0xC00000, 0xE0E0E0); // &HBBGGRR: blue 192
    return bag;
}
