// Reelbox: a skinned video-player front end. The composition root: the
// application with its icon and the desktop entry it belongs to, the numeric
// locale the playback library needs, the design font, the shared state for the
// program's own folder (one running copy for each settings folder: a later
// start hands itself to it), the player windows and the main window.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "platform/folder_listing.h"
#include "platform/fonts.h"
#include "platform/program_location.h"
#include "platform/single_instance.h"
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
    // What needs no display starts at once, beside the application's connection
    // to it: reading the font configuration, and the folder the window shows.
    FontConfigurationReader fonts;
    Reelbox_B shared(ExecutableFolder());
    FolderPrefetch savedFolder(shared.SavedFolder());
    QApplication app(argc, argv);
    SingleInstance instance(shared.Storage.Folder);
    if (!instance.Claim(QCoreApplication::arguments().mid(1), QDir::currentPath()))
        return instance.ExitCode();
    shared.Storage.RemoveInterruptedSaves();
    fonts.Wait();
    QGuiApplication::setDesktopFileName(QStringLiteral(REELBOX_DESKTOP_ID));
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();

    WindowPlayerFactory players(shared);
    Reelbox_S window(shared, players, &savedFolder);
    QObject::connect(&instance, &SingleInstance::ArgumentsReceived, &window, [&window](const QStringList &, const QString &) { BringToFront(window); });
    window.show();
    // Once the window is on the screen: its icon's pictures are read, and the
    // playback engine is made in the background for the first play.
    QTimer::singleShot(0, [&players] {
        QApplication::setWindowIcon(ProgramIcon());
        players.PrepareEngine();
    });
    return app.exec();
}
