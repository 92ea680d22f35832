#pragma once
// Which player window a file goes to, and the order in which a list plays.

#include "app/player_factory.h"
#include "app/resume_store.h"

#include <QString>
#include <functional>
#include <optional>
#include <random>
#include <vector>

// The player window for path, decided by its last characters alone (no dot
// needed): names ending in RAM, .RM, PEG, MPG or RMVB, in any case, go to the
// RealAudio window; everything else to the DirectShow window (the endings are
// the file kinds' own, base/file_kinds.h).
PlayerWindow ChoosePlayer(const QString &path);

// A random order of the positions 1..n: order[1..n] is a permutation of 1..n
// (order[0] is unused), each draw uniform among the positions not yet chosen.
// Linear in n.
std::vector<qint16> BuildRandomOrder(qint16 n, std::mt19937 &generator);

// The way a continuous play goes through a list of `count` entries: in list
// order from `start` on, or at random among the entries not played yet. The
// order is chosen anew before each entry, so that the order switch, changed
// while the list plays, applies from the next entry on; no entry comes twice.
// The random order is one draw of BuildRandomOrder, made when first needed.
class ListCourse
{
public:
    ListCourse(int count, int start, std::mt19937 &generator);
    // The course another one left at `place` (its Place(), over a list of
    // `count` entries, place.entry within it, an order either empty or a
    // permutation of 1..count): place.entry comes first again, or with
    // `after`, what followed it; at random, the rest of its order.
    ListCourse(int count, ListPoint place, bool after, std::mt19937 &generator);
    // The next entry (0-based) to play; none once the list is done.
    std::optional<int> Next(bool random);
    // Whether Next(random) would give an entry.
    bool HasNext(bool random) const;
    // Where the course stands, to be taken up another time: the entry Next
    // gave last and, once a random order was drawn, the entries played so
    // far followed by the rest of that order, the last played at `drawn`.
    // Path and position are left to the caller.
    ListPoint Place() const;

private:
    std::optional<int> FollowingInOrder() const;
    void MarkPlayed(int entry);

    std::vector<bool> played_;
    std::vector<int> sequence_; // the entries played, in the order they were
    int left_;                  // entries not played yet
    int current_;               // the entry Next gave last; start - 1 before the first
    std::mt19937 &generator_;
    std::vector<qint16> order_; // 1-based positions, [0] unused; empty until first at random
    size_t drawn_ = 0;          // the place in order_ read last; all before it are played
};

// A stored point taken to the list as it is now (`count` entries, entryAt
// giving each one's path): the same, when its entry still holds its path;
// else the first entry holding that path, from there in list order (the
// stored order no longer says which files follow); none when no entry does.
// An order that does not fit the list is dropped too.
std::optional<ListPoint> PointInList(ListPoint point, int count, const std::function<QString(int)> &entryAt);

// A generator seeded once from the system's entropy source.
std::mt19937 SeededGenerator();
