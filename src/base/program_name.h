#pragma once
// The program's name, in its two spellings: as people read it (window and
// message titles, the names of its files) and as the system knows it (the
// command, its folders, its bus name).

#include <QString>

inline const QString ProgramName = QStringLiteral("Reelbox");
inline const QString ProgramCommand = QStringLiteral("reelbox");
