// The player choice by name ending and the random play order.

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

} // namespace
