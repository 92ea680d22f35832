#pragma once
// File names in the order a file manager shows them: digits compared as numbers
// ("clip2" before "clip10") and letter case folded.

#include <QStringList>

void SortNaturally(QStringList &names);
