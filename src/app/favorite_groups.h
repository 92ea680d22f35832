#pragma once
// The favourites groups as a player window reaches them: the group keys add
// the playing file to a group without the main window in front.

#include <QString>

// What became of a file offered to a group.
enum class GroupAddition {
    Added,        // the group holds it now
    AlreadyThere, // the group held it before: it is never added twice
    TooLong,      // a list record cannot hold its path
    GroupFull,    // the group holds as many entries as a list can
    NotSaved,     // the group's list file could not be read or written
};

class FavoriteGroups
{
public:
    // Adds path to group (0..19) unless it is there already.
    virtual GroupAddition AddToGroup(int group, const QString &path) = 0;

protected:
    ~FavoriteGroups() = default;
};
