// The DirectShow window's time display, seek steps and picture placement.

#include "player/player_rules.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(FormatTime, WholeSecondsAsHoursMinutesSeconds)
{
    const struct
    {
        double t;
        const char *text;
    } cases[] = {
        {0.9, "00:00:00"},   {1, "00:00:01"},     {59.99, "00:00:59"}, {3661.5, "01:01:01"},
        {86399, "23:59:59"}, {90000, "24:59:59"}, {-5, "00:00:00"},    {NAN, "00:00:00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatTime(c.t), c.text) << c.t;
}

TEST(SeekStep, ATwentiethOfTheLengthRoundedHalfToEven)
{
    EXPECT_EQ(SeekStepFor(100), 5);
    EXPECT_EQ(SeekStepFor(30), 2); // 1.5
    EXPECT_EQ(SeekStepFor(50), 2); // 2.5
    EXPECT_EQ(SeekStepFor(10), 0); // 0.5
    EXPECT_EQ(RoundHalfEven(100 / 50.0), 2);
}

TEST(ArrowKeys, BackHalfAStepForwardAWholeOne)
{
    EXPECT_EQ(SeekBack(12, 5), 10);
    EXPECT_EQ(SeekBack(4, 5), 0);
    EXPECT_EQ(SeekBack(6, 5), 4);
    EXPECT_EQ(SeekForward(97, 5, 100), 100);
    EXPECT_EQ(SeekForward(50, 5, 100), 55);
    EXPECT_EQ(SeekBack(7, 0), 7); // a zero step leaves the position alone
}

TEST(CorrectAspect, KeepsThePicturesShapeCentred)
{
    EXPECT_EQ(CorrectAspectRect(320, 240, 320, 240), QRect(0, 0, 320, 240));
    EXPECT_EQ(CorrectAspectRect(1024, 715, 320, 240), QRect(36, 0, 953, 715)); // wide area, 35.5 to even
    EXPECT_EQ(CorrectAspectRect(320, 400, 320, 240), QRect(0, 80, 320, 240));  // tall area
    EXPECT_EQ(CorrectAspectRect(100, 100, 1000, 1), QRect(0, 50, 100, 1));     // never below 1
    EXPECT_EQ(FullScreenVideoSize({1024, 768}), QSize(1024, 715));
}

} // namespace
