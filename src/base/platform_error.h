#pragma once
// A failure reported by a platform stand-in, in the terms the windows show it:
// an error number, the part that raised it, and a description.

#include <QString>

struct PlatformError
{
    int Number = 0;
    QString Source;
    QString Description;
};

// The device (a drive) is not ready or cannot be read.
constexpr int DeviceUnavailable = 68;
