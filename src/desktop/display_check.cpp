#include "desktop/display_check.h"

#include "base/program_name.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

bool WaylandSocketExists(const QProcessEnvironment &environment)
{
    const QString name = environment.value(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    if (QDir::isAbsolutePath(name))
        return QFileInfo::exists(name);
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    return !runtime.isEmpty() && QFileInfo::exists(runtime + u'/' + name);
}

// The value after option (as "-option" or "--option"); none when not given.
std::optional<QString> OptionValue(const QStringList &arguments, const QString &option)
{
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == u'-' + option || arguments[i] == QStringLiteral("--") + option)
            return arguments[i + 1];
    return std::nullopt;
}

// What Qt said while the guard stood, to be said after it if all went well.
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

std::mutex heldLock;
QList<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

void PassOn(QtMsgType type, const QByteArray &category, const QString &text)
{
    const QMessageLogContext context(nullptr, 0, nullptr, category.isEmpty() ? nullptr : category.constData());
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

void HoldMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    std::lock_guard lock(heldLock);
    if (type != QtFatalMsg) {
        held.append({type, QByteArray(context.category), text});
        return;
    }
    // Qt gives up when no platform plugin could connect. Where that was for
    // want of a display, say so; any other reason is Qt's to tell.
    for (const HeldMessage &message : held) {
        if (message.text.contains(QLatin1String("could not connect to display"))
            || message.text.contains(QLatin1String("Failed to create wl_display"))) {
            std::fprintf(stderr, "%s: no display found: the display \"%s\" does not answer\n",
                         qPrintable(ProgramCommand),
                         qgetenv(message.text.contains(QLatin1String("wl_display")) ? "WAYLAND_DISPLAY" : "DISPLAY")
                             .constData());
            std::_Exit(1);
        }
    }
    for (const HeldMessage &message : std::as_const(held))
        PassOn(message.type, message.category, message.text);
    held.clear();
    PassOn(type, QByteArray(context.category), text);
}

} // namespace

bool WaylandPluginInstalled()
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

std::optional<QString> MissingDisplay(const QStringList &arguments, const QProcessEnvironment &environment,
                                      std::optional<bool> waylandPluginInstalled)
{
    const QString requested = OptionValue(arguments, QStringLiteral("platform"))
                                  .value_or(environment.value(QStringLiteral("QT_QPA_PLATFORM")));
    const QStringList platforms = requested.split(u';', Qt::SkipEmptyParts);
    bool x11 = platforms.isEmpty(), wayland = platforms.isEmpty();
    for (const QString &platform : platforms) {
        const QString name = platform.section(u':', 0, 0).trimmed();
        if (name == QLatin1String("xcb"))
            x11 = true;
        else if (name.startsWith(QLatin1String("wayland")))
            wayland = true;
        else
            return std::nullopt; // a platform that needs no display of these two
    }
    if (x11
        && (!environment.value(QStringLiteral("DISPLAY")).isEmpty()
            || OptionValue(arguments, QStringLiteral("display"))))
        return std::nullopt;
    if (wayland && WaylandSocketExists(environment)) {
        if (waylandPluginInstalled ? *waylandPluginInstalled : WaylandPluginInstalled())
            return std::nullopt;
        return ProgramCommand
               + QStringLiteral(": no display found: Qt's Wayland plugin is missing (Debian's qt6-wayland)");
    }
    if (x11 && wayland)
        return ProgramCommand + QStringLiteral(": no display found: neither DISPLAY nor WAYLAND_DISPLAY names one");
    return ProgramCommand
           + (x11 ? QStringLiteral(": no display found: DISPLAY is not set")
                  : QStringLiteral(": no display found: no Wayland compositor answers"));
}

DisplayConnectionGuard::DisplayConnectionGuard()
{
    previousHandler = qInstallMessageHandler(HoldMessage);
}

DisplayConnectionGuard::~DisplayConnectionGuard()
{
    qInstallMessageHandler(previousHandler);
    std::lock_guard lock(heldLock);
    for (const HeldMessage &message : std::as_const(held))
        PassOn(message.type, message.category, message.text);
    held.clear();
}
