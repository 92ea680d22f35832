// Opening what the program is handed: its command line, or a file manager's
// "Open with" (a later start hands its arguments to the running copy too).
// Each request is opened in its turn, in the order they came, each after the
// one before. One that comes while a player window is on the screen ends that
// playback, as Esc would, and the rest of its list is given up; one that comes
// while a file of a list is still opening lets that file play, then the list
// gives way. One that comes while nothing plays (a message open, requests
// before it still waiting) waits its turn and cuts nothing short. So starts
// that come at once each play, and the user sees what they asked for.

#include "app/main_window.h"

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
    WaitingRequests.append(SortArguments(arguments, workingFolder));
    if (PlayersShowing > 0) {
        RequestEndsPlaying = true; // the show's end opens it
        if (Players.PlayerOnScreen())
            Players.StopPlaying();
    } else {
        QTimer::singleShot(0, this, &Reelbox_S::OpenWaitingArguments);
    }
}

bool Reelbox_S::ShowPlayer(PlayerWindow which)
{
    ++PlayersShowing;
    const bool played = Players.ShowModal(which, this);
    --PlayersShowing;
    RefreshMarks(B.PlayFile); // where it was left is written now
    if (std::exchange(RequestEndsPlaying, false))
        B.StopPlay = -1; // the list that was playing gives way
    if (!WaitingRequests.isEmpty())
        QTimer::singleShot(0, this, &Reelbox_S::OpenWaitingArguments);
    return played;
}

void Reelbox_S::OpenWaitingArguments()
{
    // The request under way, or the play that shows, opens it when done.
    if (WaitingRequests.isEmpty() || OpeningRequest || PlayersShowing > 0)
        return;
    if (QApplication::activeModalWidget()) { // a question the user has not answered yet
        QTimer::singleShot(250, this, &Reelbox_S::OpenWaitingArguments);
        return;
    }
    OpeningRequest = true;
    OpenRequest(WaitingRequests.takeFirst());
    OpeningRequest = false;
    if (!WaitingRequests.isEmpty())
        QTimer::singleShot(0, this, &Reelbox_S::OpenWaitingArguments);
}

void Reelbox_S::OpenRequest(const OpenTargets &request)
{
    if (!request.folders.isEmpty() && Dir1->SetPath(request.folders.first()))
        Drive1->SetDrive(Dir1->Path());
    if (!request.refused.isEmpty())
        ShowMessage(RefusedArgumentsText(request.refused), MessageBoxStyle::Exclamation | MessageBoxStyle::OkOnly,
                    ProgramName);
    if (request.files.isEmpty())
        return;
    PlayInTurn(request.files); // in the order given
}
