#pragma once
// Where the running program's executable is, known before the application
// object exists (so work that needs only files can start at once).

#include <QString>

// The folder holding the running executable (links resolved), as
// QCoreApplication::applicationDirPath() would give it.
QString ExecutableFolder();
