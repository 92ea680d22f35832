#pragma once
// What the window system lets a program do with its own top-level windows.

#include <QStringView>

// True where a program can know and set where its windows are (X11, Windows,
// macOS); false on Wayland, where only the compositor places windows and a
// window's position reads as made up.
bool ProgramsPlaceWindows();
// The same for the Qt platform plugin of that name ("xcb", "wayland", ...).
bool ProgramsPlaceWindows(QStringView platformName);
