#include "app/play_order.h"

#include "base/file_kinds.h"

#include <numeric>

PlayerWindow ChoosePlayer(const QString &path)
{
    return HasRealAudioEnding(path) ? PlayerWindow::RealAudio : PlayerWindow::DirectShow;
}

std::vector<qint16> BuildRandomOrder(qint16 n, std::mt19937 &generator)
{
    std::vector<qint16> order(std::max<int>(n, 0) + 1, 0);
    std::iota(order.begin() + 1, order.end(), qint16(1));
    // Fisher-Yates from the front: position k takes a uniform pick among the
    // positions k..n not yet chosen.
    for (int k = 1; k < n; ++k) {
        std::uniform_int_distribution<int> pick(k, n);
        std::swap(order[k], order[pick(generator)]);
    }
    return order;
}

std::mt19937 SeededGenerator()
{
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
    return std::mt19937(seed);
}
