#pragma once
// What the desktop shell does for the program: open a web address or a file
// in the program the desktop associates with it, and move a file to the trash.

#include <QString>

// Opens target (a web address, or a file path) with the desktop's default
// handler. Returns false when the desktop refused.
bool OpenWithDesktop(const QString &target);

// Moves the file at path to the desktop's trash (the freedesktop trash here),
// where the user can restore it. False when the trash could not take it; the
// file is then where it was.
bool MoveToTrash(const QString &path);
