#pragma once
// What the desktop shell does for the program: open a web address or a file
// in the program the desktop associates with it. (Its trash is trash.h.)

#include <QString>

// Opens target (a web address, or a file path) with the desktop's default
// handler. Returns false when the desktop refused.
bool OpenWithDesktop(const QString &target);
