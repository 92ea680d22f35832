#include "desktop/user_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString UserVideosFolder()
{
    // Qt reads $XDG_CONFIG_HOME/user-dirs.dirs itself, as xdg-user-dir does.
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return !videos.isEmpty() && QFileInfo(videos).isDir() ? videos : QDir::homePath();
}
