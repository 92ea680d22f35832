#pragma once
// Which player window a file goes to, and the random order of a list.

#include "app/player_factory.h"

#include <QString>
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

// A generator seeded once from the system's entropy source.
std::mt19937 SeededGenerator();
