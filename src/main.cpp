// Reelbox: a skinned video-player front end. The composition root: the
// application with its icon and the desktop entry it belongs to, the numeric
// locale the playback library needs, the design font, the shared state for the
// program's own folder, the player windows and the main window.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "platform/fonts.h"
#include "player/window_player_factory.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <clocale>

namespace {

QIcon ProgramIcon()
{
    QIcon icon;
    for (const QFileInfo &size : QDir(QStringLiteral(":/icons")).entryInfoList())
        icon.addFile(size.filePath());
    return icon;
}

} // namespace

int main(int argc, char **argv)
{
    // The font configuration is read while the application connects to the display.
    FontConfigurationReader fonts;
    QApplication app(argc, argv);
    fonts.Wait();
    QGuiApplication::setDesktopFileName(QStringLiteral(REELBOX_DESKTOP_ID));
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();

    Reelbox_B shared(QCoreApplication::applicationDirPath());
    WindowPlayerFactory players(shared);
    Reelbox_S window(shared, players);
    window.show();
    // The icon's pictures are read once the window is on the screen.
    QTimer::singleShot(0, [] { QApplication::setWindowIcon(ProgramIcon()); });
    return app.exec();
}
