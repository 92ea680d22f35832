#include "controls/property_bag.h"

#include <QFont>
#include <gtest/gtest.h>

TEST(PropertyBag, KeepsOnlyNonDefaultsInOrderAndMatchesNamesInAnyCase)
{
    PropertyBag bag;
    bag.WriteProperty("Enabled", false, true);
    bag.WriteProperty("Caption", "A", "Command");
    bag.WriteProperty("FirstRun", 1, 1);
    bag.WriteProperty("Visible", 0, 1);
    bag.WriteProperty("CAPTION", "B", "Command"); // replaced in place
    EXPECT_EQ(bag.Keys(), QStringList({"Enabled", "CAPTION", "Visible"}));
    EXPECT_EQ(bag.ReadProperty("caption", "Command").toString(), "B");
    EXPECT_EQ(bag.ReadProperty("FontColour", 7).toInt(), 7);

    bag.WriteProperty("caption", "Command", "Command"); // back to its default: dropped
    EXPECT_FALSE(bag.Contains("Caption"));
    EXPECT_TRUE(bag.Contains("visible"));
}

TEST(PropertyBag, TextFormRoundTripsEveryKindOfValue)
{
    QFont font("IPAPGothic");
    font.setPointSizeF(9.75);
    const QString awkward = "say \"hi\"\\ \n\ttwo\rlines";

    PropertyBag bag;
    bag.WriteProperty("Caption", "再生", QString());
    bag.WriteProperty("Awkward", awkward, QString());
    bag.WriteProperty("FontColour", 0xFF, 0);
    bag.WriteProperty("Min", -32768, 0);
    bag.WriteProperty("Ratio", 0.125, 0.0);
    bag.WriteProperty("Enabled", false, true);
    bag.WriteProperty("Font", QVariant::fromValue(font), QVariant());

    const PropertyBag back = PropertyBag::FromText(bag.ToText());
    EXPECT_EQ(back.Keys(), bag.Keys());
    EXPECT_EQ(back.ReadProperty("Caption").toString(), "再生");
    EXPECT_EQ(back.ReadProperty("Awkward").toString(), awkward);
    EXPECT_EQ(back.ReadProperty("FontColour"), QVariant(255));
    EXPECT_EQ(back.ReadProperty("Min"), QVariant(-32768));
    EXPECT_EQ(back.ReadProperty("Ratio"), QVariant(0.125));
    EXPECT_EQ(back.ReadProperty("Enabled"), QVariant(false));
    QFont backFont;
    ASSERT_TRUE(backFont.fromString(back.ReadProperty("Font").toString()));
    EXPECT_EQ(backFont, font);
    EXPECT_EQ(back.ToText(), bag.ToText());
}

TEST(PropertyBag, TextFormIsOneKeyEqualsValuePerLine)
{
    PropertyBag bag;
    bag.WriteProperty("Caption", "終了", QString());
    bag.WriteProperty("FirstRun", 0, 1);
    bag.WriteProperty("Enabled", false, true);
    EXPECT_EQ(bag.ToText(), "Caption = \"終了\"\nFirstRun = 0\nEnabled = False\n");

    const PropertyBag parsed = PropertyBag::FromText(
        "  Caption=\"a = b\"  \r\n\r\nnot a property\rEnabled =true\nFirstRun = 2\nFirstRun = 3\n");
    EXPECT_EQ(parsed.Keys(), QStringList({"Caption", "Enabled", "FirstRun"}));
    EXPECT_EQ(parsed.ReadProperty("Caption").toString(), "a = b");
    EXPECT_EQ(parsed.ReadProperty("Enabled"), QVariant(true));
    EXPECT_EQ(parsed.ReadProperty("FirstRun"), QVariant(3));
}
