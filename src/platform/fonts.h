#pragma once
// The windows are designed in "ＭＳ Ｐゴシック" 9.75 pt. Linux desktops have no such
// font; IPAPGothic is its metric-compatible stand-in, mapped here once.

#include <QFont>

// Maps the design font's names onto IPAPGothic and makes it the application font.
void InstallDesignFont();

// The design font: "ＭＳ Ｐゴシック", 9.75 pt, regular.
QFont DesignFont();
