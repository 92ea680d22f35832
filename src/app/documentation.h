#pragma once
// The page that tells about the program, which the main window's link label
// opens in the desktop's browser.

#include <QString>

// The documentation installed with the program (share/doc/reelbox/index.html
// of the prefix whose bin folder is programFolder). A copy that is not
// installed has its own page in its executable: it is written to the user's
// cache folder and that copy is named. "" when neither can be had.
QString DocumentationPage(const QString &programFolder);
