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
#include "app/favorite_sizes.h"
#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "app/resume_recorder.h"
#include "app/resume_store.h"
#include "app/shared_procedures.h"
#include "base/folder_listing.h"
#include "base/program_location.h"
#include "desktop/display_check.h"
#include "desktop/mpris.h"
#include "desktop/single_instance.h"
#include "desktop/translations.h"
#include "player/window_player_factory.h"
#include "widgets/first_paint.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
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

// A note over the main window that waits for no answer, so playing goes on.
void TellLater(QWidget *owner, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, ProgramName, text, QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

QString SetAsideText(const QString &aside)
{
    return QStringLiteral("再生位置の記録を読めなかったため %1 に移し、新しく始めました。").arg(aside);
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
    // Where files and lists were left, beside the settings once their folder exists.
    const QString database = JoinPath(shared.Storage.Folder, ProgramName + QStringLiteral(".db"));
    ResumeStore resumePoints(database);
    // Opened after the resume points, which put an unusable database aside first.
    FavoriteSizes favoriteSizes(database);
    ResumeRecorder recorder(resumePoints);
    players.SetResumeRecorder(&recorder);
    Reelbox_S window(shared, players, &savedFolder);
    window.SetResumeStore(&resumePoints, &recorder);
    window.SetFavoriteSizes(&favoriteSizes);
    QObject::connect(&resumePoints, &ResumeStore::WriteFailed, &window,
                     [&window](const QString &message) { TellLater(&window, message); });
    QObject::connect(&resumePoints, &ResumeStore::SetAsideNow, &window,
                     [&window, &favoriteSizes](const QString &aside) {
                         favoriteSizes.Reopen();
                         TellLater(&window, SetAsideText(aside));
                     });
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
    if (!resumePoints.SetAside().isEmpty())
        TellLater(&window, SetAsideText(resumePoints.SetAside()));
    // Once the window shows with all it holds: its icon's pictures are read,
    // the program goes on the session bus, and the playback engine is made in
    // the background for the first play. (Loading libmpv holds the dynamic
    // loader's lock for a tenth of a second, which the window's thread would
    // wait on at its first paint.)
    AfterFirstPaint(window, [&players, &mediaControls] {
        QApplication::setWindowIcon(ProgramIcon());
        mediaControls.Offer();
        players.PrepareEngine();
    });
    return app.exec();
}
