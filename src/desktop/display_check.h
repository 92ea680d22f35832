#pragma once
// Finding the display before the application connects to it. Where it cannot
// connect, Qt aborts with a long advice to reinstall; a user without a display
// (a text console, ssh without X forwarding) is told in one line instead.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

// True when Qt has its Wayland platform plugin (Debian's qt6-wayland).
bool WaylandPluginInstalled();

// Why the window system Qt is about to use cannot be there, in one line; none
// when it may be. Qt's choice follows "-platform NAME" in arguments, else
// QT_QPA_PLATFORM (a ';' list), else X11 or Wayland: X11 needs DISPLAY (or
// "-display"), Wayland its socket in XDG_RUNTIME_DIR (WAYLAND_DISPLAY, by
// default wayland-0) and Qt's Wayland plugin. Platforms without a display
// (offscreen, vnc, ...) pass. The plugin is looked for only where a Wayland
// compositor answers, unless waylandPluginInstalled tells.
std::optional<QString> MissingDisplay(const QStringList &arguments,
                                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                                      std::optional<bool> waylandPluginInstalled = std::nullopt);

// While it lives (around the application's construction), a display that is
// named but does not answer ends the program with status 1 and one line
// saying so, instead of Qt's abort. Other messages are passed on when it ends.
class DisplayConnectionGuard
{
public:
    DisplayConnectionGuard();
    ~DisplayConnectionGuard();
    DisplayConnectionGuard(const DisplayConnectionGuard &) = delete;
    DisplayConnectionGuard &operator=(const DisplayConnectionGuard &) = delete;
};
