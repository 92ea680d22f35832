#pragma once
// Adding one file to a group kept in its list file (a group not shown): the
// file is read, the path appended unless a record names it already, and the
// file replaced in one step, so a failure leaves it as it was.

#include "app/favorite_groups.h"

#include <QByteArray>
#include <QList>

struct Reelbox_B;

// True when one of records names path: by its bytes, or by the reading the
// list gives a record (a Shift_JIS record names the file it decodes to).
bool RecordsHold(const QList<QByteArray> &records, const QString &path);

// Adds path to the list file of group, which is not the one shown.
GroupAddition AddToGroupFile(Reelbox_B &shared, int group, const QString &path);
