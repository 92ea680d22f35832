// Opening what the program is handed: its command line, or a file manager's
// "Open with" (a second start hands its arguments to the running copy too).
// What arrives while a player window shows ends that playback, as Esc would,
// and is opened when the window has closed: the newest request wins.

#include "app/main_window.h"

#include "app/open_arguments.h"
#include "app/player_factory.h"
#include "app/reelbox_b.h"
#include "base/program_name.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"

#include <QApplication>
#include <QTimer>
#include <utility>

void Reelbox_S::OpenArguments(const QStringList &arguments, const QString &workingFolder)
{
    const OpenTargets targets = SortArguments(arguments, workingFolder);
    if (!targets.folders.isEmpty())
        ArgumentFolder = targets.folders.first();
    ArgumentFiles += targets.files;
    ArgumentsRefused += targets.refused;
    if (!ArgumentsWaiting())
        return;
    if (PlayersShowing > 0)
        Players.StopPlaying(); // the show's end opens them
    else
        QTimer::singleShot(0, this, &Reelbox_S::OpenWaitingArguments);
}

bool Reelbox_S::ArgumentsWaiting() const
{
    return !ArgumentFolder.isEmpty() || !ArgumentFiles.isEmpty() || !ArgumentsRefused.isEmpty();
}

bool Reelbox_S::ShowPlayer(PlayerWindow which)
{
    ++PlayersShowing;
    const bool played = Players.ShowModal(which, this);
    --PlayersShowing;
    if (ArgumentsWaiting()) {
        B.StopPlay = -1; // the list that was playing gives way
        QTimer::singleShot(0, this, &Reelbox_S::OpenWaitingArguments);
    }
    return played;
}

void Reelbox_S::OpenWaitingArguments()
{
    if (!ArgumentsWaiting() || PlayersShowing > 0)
        return;
    if (QApplication::activeModalWidget()) { // a question the user has not answered yet
        QTimer::singleShot(250, this, &Reelbox_S::OpenWaitingArguments);
        return;
    }
    const QString folder = std::exchange(ArgumentFolder, {});
    const QStringList files = std::exchange(ArgumentFiles, {});
    const QStringList refused = std::exchange(ArgumentsRefused, {});
    if (!folder.isEmpty() && Dir1->SetPath(folder))
        Drive1->SetDrive(Dir1->Path());
    if (!refused.isEmpty())
        ShowMessage(RefusedArgumentsText(refused), MessageBoxStyle::Exclamation | MessageBoxStyle::OkOnly, ProgramName);
    if (files.isEmpty())
        return;
    PlayInTurn(files); // in the order given
}
