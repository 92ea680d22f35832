#include "desktop/window_system.h"

#include <QGuiApplication>

bool ProgramsPlaceWindows()
{
    return ProgramsPlaceWindows(QGuiApplication::platformName());
}

bool ProgramsPlaceWindows(QStringView platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}
