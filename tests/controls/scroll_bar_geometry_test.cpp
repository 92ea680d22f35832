#include "controls/scroll_bar_geometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace ScrollBarGeometry;

namespace {
constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();
constexpr qint32 Int32Min = std::numeric_limits<qint32>::min();
} // namespace

TEST(ScrollBarGeometry, IntegerConversionsRoundTiesToEvenAndRefuseWhatLeaves32Bits)
{
    const struct
    {
        double in;
        std::optional<qint32> toInt, halfInt;
    } rows[] = {
        {2.5, 2, 1},
        {3.5, 4, 2},
        {-2.5, -2, -1},
        {1342.5, 1342, 671},
        {7, 7, 3},
        {-7, -7, -3},
        {6.5, 6, 3},
        {-15, -15, -7},
        {2147483647.4, Int32Max, Int32Max / 2},
        {2147483647.5, std::nullopt, std::nullopt},
        {-2147483649.0, std::nullopt, std::nullopt},
        {std::nan(""), std::nullopt, std::nullopt},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(ToInt(row.in), row.toInt) << row.in;
        EXPECT_EQ(HalfInt(row.in), row.halfInt) << row.in;
    }
}

// A 3001 x 3001 twip client with 300 x 240 (vertical) or 240 x 300 arrows:
// vertical centring is half-int, horizontal centring real.
TEST(ScrollBarGeometry, ArrowsFollowTheAlignmentAndHiddenOnesAreParkedOutside)
{
    const QSize client(3001, 3001);
    const struct
    {
        bool vertical;
        qint32 alignment;
        bool shown;
        QPointF back, forward;
    } rows[] = {
        {true, 1, true, {1350, 0}, {1350, 2761}},
        {true, 2, false, {2701, -240}, {2701, 3001}},
        {false, 4, true, {0, 1350.5}, {2761, 1350.5}},
        {false, 5, false, {-240, 2701}, {3001, 2701}},
    };
    for (const auto &row : rows) {
        const QSize arrow = row.vertical ? QSize(300, 240) : QSize(240, 300);
        const auto placed = PlaceArrows(row.vertical, row.alignment, row.shown, client, arrow, arrow);
        ASSERT_TRUE(placed) << row.alignment;
        EXPECT_EQ(placed->back, row.back) << row.alignment;
        EXPECT_EQ(placed->forward, row.forward) << row.alignment;
    }
    EXPECT_FALSE(PlaceArrows(true, 4, true, client, {300, 240}, {300, 240}));
    EXPECT_FALSE(PlaceArrows(false, 1, true, client, {240, 300}, {240, 300}));
    EXPECT_EQ(ThumbCrossPosition(true, 1, client, {315, 315}), 1343);
    EXPECT_EQ(ThumbCrossPosition(false, 4, client, {315, 315}), 1343);
    EXPECT_FALSE(ThumbCrossPosition(false, 2, client, {315, 315}));
}

// The horizontal bar of 3000 twips with hidden 240-twip arrows and a 315-twip
// thumb, range 0..1000: a drag step at 1342.5 lands on 1342, value 500.
TEST(ScrollBarGeometry, DragStepOfTheWorkedExample)
{
    const auto limits = ThumbDragLimits(false, {-240, 0, 240, 315}, {3000, 0, 240, 315}, {315, 315});
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->lo, 0);
    EXPECT_EQ(limits->hi, 2685);
    const qint32 pos = PinDragPosition(*ToInt(1342.5), *limits);
    EXPECT_EQ(pos, 1342);
    EXPECT_EQ(DragValue(pos, *limits, 0, 1000), 500);
    EXPECT_EQ(ThumbLeadingEdge(500, 0, 1000, {0, 2685}), 1342.5);
    EXPECT_EQ(PinDragPosition(-5, *limits), 0);
    EXPECT_EQ(PinDragPosition(50, {80, 20}), 80); // pinned to hi first, then lo wins
}

TEST(ScrollBarGeometry, ZeroSpansAndDifferencesBeyond32BitsHaveNoAnswer)
{
    EXPECT_FALSE(ThumbLeadingEdge(7, 7, 7, {0, 2685}));
    EXPECT_FALSE(ThumbLeadingEdge(Int32Max, -1, Int32Max, {0, 2685}));
    EXPECT_FALSE(ThumbLeadingEdge(0, Int32Min, 1, {0, 2685}));
    EXPECT_FALSE(DragValue(0, {0, 0}, 0, 1000));
    EXPECT_FALSE(DragValue(0, {Int32Min, Int32Max}, 0, 1000));
    EXPECT_FALSE(DragValue(0, {0, 100}, -1, Int32Max));
    EXPECT_EQ(DragValue(240, {240, 340}, 5, 5), 5); // a zero range is no division
}
