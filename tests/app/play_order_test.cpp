// The player choice by name ending, the random play order and the course of
// a continuous play whose order switch may change on the way.

#include "app/play_order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

TEST(ChoosePlayer, OnlyTheLastCharactersCount)
{
    const struct
    {
        const char *path;
        PlayerWindow window;
    } cases[] = {
        {"/v/a.MPEG", PlayerWindow::RealAudio},  {"/v/a.Mpg", PlayerWindow::RealAudio},
        {"/v/a.rmvb", PlayerWindow::RealAudio},  {"/v/a.rm", PlayerWindow::RealAudio},
        {"/v/a.ram", PlayerWindow::RealAudio},   {"/v/DIAGRAM", PlayerWindow::RealAudio},
        {"/v/a.avi", PlayerWindow::DirectShow},  {"/v/a.wmv", PlayerWindow::DirectShow},
        {"/v/a.asf", PlayerWindow::DirectShow},  {"/v/a.dat", PlayerWindow::DirectShow},
        {"/v/a.divx", PlayerWindow::DirectShow}, {"/v/arm", PlayerWindow::DirectShow},
        {"", PlayerWindow::DirectShow},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChoosePlayer(c.path), c.window) << c.path;
}

TEST(BuildRandomOrder, IsAPermutationOfOneToN)
{
    std::mt19937 generator = SeededGenerator();
    for (qint16 n : {1, 2, 7, 1000, 32767}) {
        std::vector<qint16> order = BuildRandomOrder(n, generator);
        ASSERT_EQ(order.size(), size_t(n) + 1);
        std::sort(order.begin() + 1, order.end());
        for (int k = 1; k <= n; ++k)
            ASSERT_EQ(order[k], k) << "n=" << n;
    }
}

TEST(BuildRandomOrder, EveryPositionComesFirstAboutEquallyOften)
{
    // Draws within one clock tick must not repeat a pattern: over 6000 rounds
    // of 6 entries each entry leads about 1000 times.
    std::mt19937 generator = SeededGenerator();
    int firsts[7] = {};
    std::set<std::vector<qint16>> orders;
    for (int round = 0; round < 6000; ++round) {
        const std::vector<qint16> order = BuildRandomOrder(6, generator);
        ++firsts[order[1]];
        orders.insert(order);
    }
    for (int k = 1; k <= 6; ++k)
        EXPECT_NEAR(firsts[k], 1000, 150) << k;
    EXPECT_GT(orders.size(), 600u); // most of the 720 orders occur
}

// Each step reads the order switch anew ('o' in order, 'r' at random): what
// Next gives, and whether HasNext said it would.
TEST(ListCourse, FollowsTheOrderSwitchAtEveryStepAndNeverRepeats)
{
    // A random pick among those not played; the first not played after the
    // last one, or the end when there is none.
    constexpr int Any = -1, Following = -2, End = -3;
    const struct
    {
        const char *why;
        int count, start;
        const char *steps;
        std::vector<int> expected;
    } rows[] = {
        {"in order from the start", 5, 2, "oooo", {2, 3, 4, End}},
        {"from the top when nothing was selected", 3, -1, "oooo", {0, 1, 2, End}},
        {"a start past the end", 3, 3, "o", {End}},
        {"at random the whole list, whatever the start", 4, 3, "rrrrr", {Any, Any, Any, Any, End}},
        {"turned random on the way: the rest", 5, 1, "orrrrr", {1, Any, Any, Any, Any, End}},
        {"turned back: on from the last", 6, 0, "rroooooo", {Any, Any, Following, Following, Following, Following}},
        {"nothing to play", 0, 0, "or", {End, End}},
    };
    std::mt19937 generator = SeededGenerator();
    for (const auto &row : rows) {
        ListCourse course(row.count, row.start, generator);
        std::vector<bool> played(row.count);
        int last = -1;
        for (size_t step = 0; step < row.expected.size(); ++step) {
            const bool random = row.steps[step] == 'r';
            int expected = row.expected[step];
            if (expected == Following) {
                const auto next = std::find(played.begin() + last + 1, played.end(), false);
                expected = next == played.end() ? End : int(next - played.begin());
            }
            EXPECT_EQ(course.HasNext(random), expected != End) << row.why << ", step " << step;
            const std::optional<int> entry = course.Next(random);
            ASSERT_EQ(entry.has_value(), expected != End) << row.why << ", step " << step;
            if (!entry)
                continue;
            ASSERT_TRUE(*entry >= 0 && *entry < row.count) << row.why;
            EXPECT_FALSE(played[*entry]) << row.why << ": " << *entry << " twice";
            if (expected >= 0)
                EXPECT_EQ(*entry, expected) << row.why << ", step " << step;
            played[*entry] = true;
            last = *entry;
        }
    }
}

// A course taken up from another's Place goes on as that one would have:
// after its entry (or with it again first), through the rest of its order,
// whatever the switch says at each step.
TEST(ListCourse, TakenUpWhereAnotherWasLeftGoesOnAsItWould)
{
    const struct
    {
        const char *why;
        int count, start;
        const char *before;
        bool after;
        const char *then;
    } rows[] = {
        {"at random: the rest of its order", 6, 0, "rr", true, "rrrrr"},
        {"at random, the entry again first", 6, 0, "rrr", false, "rrrr"},
        {"in order: on from the entry", 5, 1, "oo", true, "ooo"},
        {"in order, the entry again first", 5, 1, "oo", false, "oooo"},
        {"turned in order on the way", 6, 0, "ror", true, "rrrr"},
        {"at random before, in order now", 6, 0, "rr", true, "ooooo"},
        {"the last entry done: nothing left", 3, 0, "ooo", true, "o"},
    };
    std::mt19937 generator = SeededGenerator();
    for (const auto &row : rows) {
        ListCourse left(row.count, row.start, generator);
        for (const char *step = row.before; *step; ++step)
            ASSERT_TRUE(left.Next(*step == 'r')) << row.why;
        const ListPoint place = left.Place();
        ListCourse taken(row.count, place, row.after, generator);
        if (!row.after)
            EXPECT_EQ(taken.Next(row.then[0] == 'r'), place.entry) << row.why;
        for (const char *step = row.then + (row.after ? 0 : 1); *step; ++step)
            EXPECT_EQ(taken.Next(*step == 'r'), left.Next(*step == 'r')) << row.why << ", step " << step - row.then;
    }
}

// A stored point against the list as it is now.
TEST(PointInList, KeepsOnlyWhatStillFitsTheList)
{
    const QStringList list = {"/v/a", "/v/b", "/v/c"};
    constexpr int Gone = -1;
    const struct
    {
        const char *why;
        int entry;
        const char *path;
        std::vector<qint16> order;
        int drawn;
        int expectedEntry;
        bool orderKept;
    } rows[] = {
        {"unchanged", 1, "/v/b", {0, 3, 2, 1}, 2, 1, true},
        {"in order, unchanged", 2, "/v/c", {}, 0, 2, false},
        {"moved: found by its path, the order no longer says", 0, "/v/b", {0, 1, 3, 2}, 1, 1, false},
        {"past the end of a shorter list", 5, "/v/c", {}, 0, 2, false},
        {"gone from the list", 1, "/v/x", {0, 2, 1, 3}, 1, Gone, false},
        {"an order of another length", 1, "/v/b", {0, 2, 1}, 1, 1, false},
        {"an order whose drawn place is another entry", 1, "/v/b", {0, 1, 2, 3}, 1, 1, false},
        {"an order with an entry twice", 1, "/v/b", {0, 2, 2, 3}, 1, 1, false},
    };
    for (const auto &row : rows) {
        const std::optional<ListPoint> point = PointInList({row.entry, row.path, 12, 60, row.order, row.drawn},
                                                           int(list.size()), [&](int k) { return list[k]; });
        ASSERT_EQ(point.has_value(), row.expectedEntry != Gone) << row.why;
        if (!point)
            continue;
        EXPECT_EQ(point->entry, row.expectedEntry) << row.why;
        EXPECT_EQ(point->position, 12) << row.why;
        EXPECT_EQ(!point->order.empty(), row.orderKept) << row.why;
        if (row.orderKept)
            EXPECT_EQ(point->drawn, row.drawn) << row.why;
    }
}

} // namespace
