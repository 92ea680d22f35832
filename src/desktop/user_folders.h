#pragma once
// The user's own folders as the desktop names them.

#include <QString>

// The user's videos folder: the one the desktop's user-dirs file names
// (XDG_VIDEOS_DIR, as `xdg-user-dir VIDEOS` reads it), else ~/Videos, while it
// exists; otherwise the home folder. Any thread, before the application too.
QString UserVideosFolder();
