#pragma once
// Where the settings file and the favourites lists are kept. A copy of the
// program in a folder the user can write to keeps them beside itself: a
// portable copy, and the build folder. Installed where the user cannot write
// (/usr/bin, /opt/...), it keeps them in the user's configuration folder,
// $XDG_CONFIG_HOME/reelbox (by default ~/.config/reelbox), which is made on
// the first save. Until then the files found beside the executable are read,
// so a system-wide default can be shipped there; the first save carries them
// over into the new folder, whose files are the user's own from then on.

#include "base/program_name.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>

// The name of the settings file.
inline const QString SettingsFileTitle = ProgramName + QStringLiteral(".ini");

struct SettingsFolder
{
    // Where the files are kept and written.
    QString Folder;
    // The program folder, when it is not Folder: its files are read while
    // Folder does not exist yet, and copied into Folder when it is made.
    QString StartingPoint;

    // The file called name as it is to be read now.
    QString FileToRead(const QString &name) const;

    // The file called name in Folder, ready to be written: makes Folder first
    // when it does not exist, holding the starting point's files.
    QString FileToWrite(const QString &name) const;

    // Removes what saves of the kept files left in Folder (or beside the files
    // their links name) when the program was killed during them; never a file of
    // a save another copy is making now. Returns how many were removed.
    int RemoveInterruptedSaves() const;
};

// Tells whether files can be made in folder, or folder itself can be made.
using WritableTest = std::function<bool(const QString &folder)>;

// True when files can be created in folder, or, when it does not exist, when
// its nearest existing parent is a folder that files can be created in.
bool CanWriteInto(const QString &folder);

// $XDG_CONFIG_HOME/reelbox, or $HOME/.config/reelbox when XDG_CONFIG_HOME is
// unset, empty or not an absolute path.
QString UserConfigFolder(const QProcessEnvironment &environment);

// Decides, once at start-up, where a program in programFolder keeps its files:
// the program folder when files can be written there, else the user's
// configuration folder, starting from the files in the program folder.
SettingsFolder ChooseSettingsFolder(const QString &programFolder,
                                    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                                    const WritableTest &writable = CanWriteInto);

// The names of every file kept in the settings folder: the settings file and
// the twenty list files.
QStringList KeptFileTitles();
