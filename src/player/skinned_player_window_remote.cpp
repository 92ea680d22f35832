// The player windows' answers to the desktop's media controls and to a stop
// from the main window: the keys the user would press, given to the window's
// key handler once the window is on the screen; and the file it plays.

#include "player/skinned_player_window.h"

#include "app/reelbox_b.h"
#include "base/file_names.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>

void SkinnedPlayerWindow::RemotePlayPause()
{
    WhenShown([this] { Form_KeyDown(Qt::Key_Alt); });
}

void SkinnedPlayerWindow::RemotePlay()
{
    // Alt resumes when the strip reads "Pause", else it pauses.
    WhenShown([this] {
        if (lbl_msg->text() == PauseText)
            Form_KeyDown(Qt::Key_Alt);
    });
}

void SkinnedPlayerWindow::RemotePause()
{
    WhenShown([this] {
        if (lbl_msg->text() != PauseText)
            Form_KeyDown(Qt::Key_Alt);
    });
}

void SkinnedPlayerWindow::RemoteNext()
{
    WhenShown([this] { Form_KeyDown(Qt::Key_Control); });
}

void SkinnedPlayerWindow::RemoteStop()
{
    WhenShown([this] { Form_KeyDown(Qt::Key_Escape); });
}

void SkinnedPlayerWindow::WhenShown(std::function<void()> command)
{
    if (Closed())
        return;
    if (isVisible())
        command();
    else
        heldCommands_.append(std::move(command));
}

void SkinnedPlayerWindow::RunHeldCommands()
{
    // From the event loop of the modal show, which a close then ends.
    QTimer::singleShot(0, this, [this] {
        for (const std::function<void()> &command : std::exchange(heldCommands_, {}))
            if (!Closed())
                command();
    });
}

RemoteTrack SkinnedPlayerWindow::RemoteNowPlaying() const
{
    return {B.PlayFile, DisplayFileName(QFileInfo(B.PlayFile).fileName())};
}
