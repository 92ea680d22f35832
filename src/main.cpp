// Reelbox: a skinned video-player front end. The composition root: the
// command line, the display, the application with its icon and the desktop
// entry it belongs to, the numeric locale the playback library needs, the
// design font and Qt's Japanese translations, the shared state for the
// program's own folder (one running copy for each settings folder: a later
// start hands its files to it), the player windows with the desktop's media
// controls (which ask the main window about the list that plays and may
// raise it), and the main window, handed the files and folders the command
// line names.

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "base/folder_listing.h"
#include "base/program_location.h"
#include "desktop/display_check.h"
#include "desktop/mpris.h"
#include "desktop/single_instance.h"
#include "desktop/translations.h"
#include "player/window_player_factory.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <optional>

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
    // Help, the version and a mistake need no display; Qt's own options are
    // no mistake (the application takes them below).
    const QString version = QStringLiteral(REELBOX_VERSION);
    const QStringList given = ProgramArguments(argc, argv);
    if (const std::optional<int> status = AnswerOnTerminal(ReadCommandLine(WithoutToolkitOptions(given)), version))
        return *status;
    if (const std::optional<QString> missing = MissingDisplay(given)) {
        std::fprintf(stderr, "%s\n", qPrintable(*missing));
        return 1;
    }

    // What needs no display starts at once, beside the application's connection
    // to it: reading the font configuration, and the folder the window shows.
    FontConfigurationReader fonts;
    Reelbox_B shared(ExecutableFolder());
    FolderPrefetch savedFolder(shared.SavedFolder());
    std::optional<DisplayConnectionGuard> displayGuard(std::in_place);
    QApplication app(argc, argv);
    displayGuard.reset();
    const CommandLine command = ReadCommandLine(ProgramArguments(argc, argv)); // Qt has taken its own options
    if (const std::optional<int> status = AnswerOnTerminal(command, version))
        return *status;
    SingleInstance instance(shared.Storage.Folder);
    if (!instance.Claim(command.Files, QDir::currentPath()))
        return instance.ExitCode();
    shared.Storage.RemoveInterruptedSaves();
    fonts.Wait();
    QGuiApplication::setDesktopFileName(QStringLiteral(REELBOX_DESKTOP_ID));
    std::setlocale(LC_NUMERIC, "C");
    InstallDesignFont();
    InstallJapaneseTranslations();

    MprisPlayer mediaControls;
    WindowPlayerFactory players(shared);
    players.SetMediaControls(&mediaControls);
    Reelbox_S window(shared, players, &savedFolder);
    players.SetFavoriteGroups(&window);
    QObject::connect(&instance, &SingleInstance::ArgumentsReceived, &window,
                     [&window](const QStringList &files, const QString &workingFolder) {
                         BringToFront(window);
                         window.OpenArguments(files, workingFolder);
                     });
    mediaControls.SetPlayList(&window);
    QObject::connect(&mediaControls, &MprisPlayer::RaiseRequested, &window, [&window] { BringToFront(window); });
    window.show();
    if (!command.Files.isEmpty())
        window.OpenArguments(command.Files, QDir::currentPath());
    // Once the window is on the screen: its icon's pictures are read, the
    // program goes on the session bus, and the playback engine is made in the
    // background for the first play.
    QTimer::singleShot(0, [&players, &mediaControls] {
        QApplication::setWindowIcon(ProgramIcon());
        mediaControls.Offer();
        players.PrepareEngine();
    });
    return app.exec();
}
