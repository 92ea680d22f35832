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

ListCourse::ListCourse(int count, int start, std::mt19937 &generator)
    : played_(std::max(count, 0), false)
    , left_(std::max(count, 0))
    , current_(std::max(start, 0) - 1)
    , generator_(generator)
{
}

std::optional<int> ListCourse::FollowingInOrder() const
{
    for (int entry = current_ + 1; entry < int(played_.size()); ++entry)
        if (!played_[entry])
            return entry;
    return std::nullopt;
}

bool ListCourse::HasNext(bool random) const
{
    return random ? left_ > 0 : FollowingInOrder().has_value();
}

std::optional<int> ListCourse::Next(bool random)
{
    std::optional<int> entry;
    if (!random) {
        entry = FollowingInOrder();
    } else if (left_ > 0) {
        if (order_.empty())
            order_ = BuildRandomOrder(static_cast<qint16>(played_.size()), generator_);
        // What came in order meanwhile is passed over: the rest stays a
        // uniform random order of what is left.
        while (played_[order_[++drawn_] - 1]) {
        }
        entry = order_[drawn_] - 1;
    }
    if (entry) {
        played_[*entry] = true;
        --left_;
        current_ = *entry;
    }
    return entry;
}

std::mt19937 SeededGenerator()
{
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
    return std::mt19937(seed);
}
