// The player windows' answers to the desktop's media controls: the keys the
// user would press, given to the window's key handler, and the file it plays.

#include "player/skinned_player_window.h"

#include "app/reelbox_b.h"
#include "base/file_names.h"

#include <QFileInfo>
#include <QLabel>

void SkinnedPlayerWindow::RemotePlayPause()
{
    if (!Closed())
        Form_KeyDown(Qt::Key_Alt);
}

void SkinnedPlayerWindow::RemotePlay()
{
    // Alt resumes when the strip reads "Pause", else it pauses.
    if (!Closed() && lbl_msg->text() == PauseText)
        Form_KeyDown(Qt::Key_Alt);
}

void SkinnedPlayerWindow::RemotePause()
{
    if (!Closed() && lbl_msg->text() != PauseText)
        Form_KeyDown(Qt::Key_Alt);
}

void SkinnedPlayerWindow::RemoteNext()
{
    if (!Closed())
        Form_KeyDown(Qt::Key_Control);
}

void SkinnedPlayerWindow::RemoteStop()
{
    if (!Closed())
        Form_KeyDown(Qt::Key_Escape);
}

RemoteTrack SkinnedPlayerWindow::RemoteNowPlaying() const
{
    return {B.PlayFile, DisplayFileName(QFileInfo(B.PlayFile).fileName())};
}
