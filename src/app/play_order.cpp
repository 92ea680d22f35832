#include "app/play_order.h"

#include "base/file_kinds.h"

#include <algorithm>
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

ListCourse::ListCourse(int count, ListPoint place, bool after, std::mt19937 &generator)
    : ListCourse(count, 0, generator)
{
    if (place.order.empty()) {
        // Taken up in order: a random order of all the others, should the
        // switch turn, with the entry itself first.
        place.order = BuildRandomOrder(static_cast<qint16>(count), generator);
        std::iter_swap(place.order.begin() + 1, std::find(place.order.begin() + 1, place.order.end(), place.entry + 1));
        place.drawn = 1;
    }
    order_ = std::move(place.order);
    drawn_ = after ? place.drawn : place.drawn - 1;
    for (size_t k = 1; k <= drawn_; ++k)
        MarkPlayed(order_[k] - 1);
    current_ = after ? place.entry : place.entry - 1;
}

void ListCourse::MarkPlayed(int entry)
{
    played_[entry] = true;
    --left_;
    sequence_.push_back(entry);
}

ListPoint ListCourse::Place() const
{
    ListPoint place;
    place.entry = current_;
    if (order_.empty())
        return place;
    place.order = {0};
    for (int entry : sequence_)
        place.order.push_back(static_cast<qint16>(entry + 1));
    place.drawn = static_cast<int>(sequence_.size());
    for (size_t k = drawn_ + 1; k < order_.size(); ++k)
        if (!played_[order_[k] - 1])
            place.order.push_back(order_[k]);
    return place;
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
        MarkPlayed(*entry);
        current_ = *entry;
    }
    return entry;
}

namespace {

// Whether order is a permutation of 1..count with entry + 1 at drawn.
bool OrderFits(const ListPoint &point, int count)
{
    if (point.order.size() != size_t(count) + 1 || point.drawn < 1 || point.drawn > count
        || point.order[point.drawn] != point.entry + 1)
        return false;
    std::vector<bool> seen(count + 1, false);
    for (size_t k = 1; k < point.order.size(); ++k) {
        const int n = point.order[k];
        if (n < 1 || n > count || seen[n])
            return false;
        seen[n] = true;
    }
    return true;
}

} // namespace

std::optional<ListPoint> PointInList(ListPoint point, int count, const std::function<QString(int)> &entryAt)
{
    const bool inPlace = point.entry >= 0 && point.entry < count && entryAt(point.entry) == point.path;
    if (!inPlace) {
        int found = 0;
        while (found < count && entryAt(found) != point.path)
            ++found;
        if (found == count)
            return std::nullopt;
        point.entry = found;
    }
    if (!inPlace || !OrderFits(point, count)) {
        point.order.clear();
        point.drawn = 0;
    }
    return point;
}

std::mt19937 SeededGenerator()
{
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
    return std::mt19937(seed);
}
