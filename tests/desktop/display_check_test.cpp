// Whether a display can be there, from what the application would connect to.

#include "desktop/display_check.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MissingDisplay, FollowsThePlatformQtWouldChoose)
{
    QTemporaryDir runtime;
    QFile(runtime.filePath("wayland-1")).open(QIODevice::WriteOnly);
    const struct
    {
        QStringList environment; // NAME=value
        QStringList arguments;
        bool found;
        bool waylandPlugin = true;
    } rows[] = {
        {{}, {}, false},
        {{"DISPLAY=:0"}, {}, true},
        {{}, {"-display", ":0"}, true},
        {{"WAYLAND_DISPLAY=wayland-1"}, {}, true},
        {{"WAYLAND_DISPLAY=wayland-2"}, {}, false}, // no such compositor socket
        {{"DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}, {}, false},
        {{"WAYLAND_DISPLAY=wayland-1", "QT_QPA_PLATFORM=xcb"}, {}, false},
        {{"WAYLAND_DISPLAY=wayland-1", "QT_QPA_PLATFORM=wayland-egl;xcb"}, {}, true},
        {{"QT_QPA_PLATFORM=offscreen"}, {}, true},
        {{"QT_QPA_PLATFORM=xcb"}, {"-platform", "offscreen"}, true},    // the argument wins
        {{"WAYLAND_DISPLAY=wayland-1"}, {}, false, false},              // a compositor Qt cannot speak to
        {{"WAYLAND_DISPLAY=wayland-1", "DISPLAY=:0"}, {}, true, false}, // but its X server
    };
    for (const auto &row : rows) {
        QProcessEnvironment environment;
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        for (const QString &setting : row.environment)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        const std::optional<QString> missing = MissingDisplay(row.arguments, environment, row.waylandPlugin);
        EXPECT_EQ(!missing.has_value(), row.found) << row.environment.join(' ').toStdString();
        if (missing)
            EXPECT_FALSE(missing->contains('\n'));
    }
}

} // namespace
