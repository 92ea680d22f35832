#pragma once
// The windows are designed in "ＭＳ Ｐゴシック" 9.75 pt. Linux desktops have no such
// font; IPAPGothic is its metric-compatible stand-in, mapped here once.

#include <QFont>
#include <thread>

// Reads the system's font configuration on a thread of its own from its
// creation, so that the first text the windows measure finds it ready instead
// of waiting for it: reading it is a good part of start-up, and can run while
// the application connects to the display. Wait() (or destruction) joins it.
class FontConfigurationReader
{
public:
    FontConfigurationReader();
    ~FontConfigurationReader() { Wait(); }
    void Wait();

private:
    std::thread reader_;
};

// Maps the design font's names onto IPAPGothic and makes it the application font.
void InstallDesignFont();

// The design font: "ＭＳ Ｐゴシック" (or, where it is not installed, the
// stand-in it maps to), 9.75 pt, regular.
QFont DesignFont();
