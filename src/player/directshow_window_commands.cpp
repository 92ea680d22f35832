// The DirectShow player window while it plays: the poll, the seek bar, the
// keyboard and mouse commands, and closing.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "controls/visual_scroll_bar.h"
#include "media/filgraph_manager.h"
#include "player/player_rules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

void Reelbox_M::SetLabelText(QLabel *label, const QString &text)
{
    // The poll runs a hundred times a second: redraw only what changed.
    if (label->text() != text)
        label->setText(text);
}

void Reelbox_M::Timer1_Timer()
{
    if (!graph_)
        return;
    const double position = graph_->CurrentPosition().value_or(0);
    const double duration = graph_->Duration().value_or(0);
    if (duration != shownLength_) // known only now, or growing
        ShowLength(duration);
    const qint32 value = static_cast<qint32>(RoundHalfEven(position));
    if (value != H1->Value() && !H1->ThumbDragging())
        H1->SetValue(value);
    SetLabelText(Rem_Time, FormatTime(duration - position));
    SetLabelText(Pos_Time, FormatTime(position));
    // The file has ended once the shown position is its shown length, playing
    // or paused (the arrow keys reach the end of a paused file too). A length
    // under a second, or not known yet, shows as 00:00:00 from the start:
    // there the end of the stream closes the window.
    if (duration >= 1 && Pos_Time->text() == Total_Time->text())
        StopAndUnload();
}

void Reelbox_M::H1_Scroll()
{
    if (graph_)
        graph_->CurrentPosition(H1->Value());
}

void Reelbox_M::Form_KeyDown(int key)
{
    if (CommonKeyDown(key) || !graph_)
        return;
    if (key == Qt::Key_Left)
        graph_->CurrentPosition(SeekBack(graph_->CurrentPosition().value_or(0), SeekStep));
    else if (key == Qt::Key_Right)
        graph_->CurrentPosition(
            SeekForward(graph_->CurrentPosition().value_or(0), SeekStep, graph_->Duration().value_or(0)));
}

bool Reelbox_M::RemoteCanSeek() const
{
    return graph_ && graph_->Duration().value_or(0) > 0;
}

void Reelbox_M::RemoteSeek(double seconds)
{
    if (RemoteCanSeek())
        graph_->CurrentPosition(seconds);
}

bool Reelbox_M::HasPlayer() const
{
    return graph_ != nullptr;
}

void Reelbox_M::ResumePlayer()
{
    graph_->Run();
}

void Reelbox_M::PausePlayer()
{
    graph_->Pause();
}

void Reelbox_M::Display_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Alt:
    case Qt::Key_Shift: break; // Shift belongs to the group keys of groups 11 to 20
    case Qt::Key_Control:
    case Qt::Key_Escape:
    case Qt::Key_Space:
    case Qt::Key_Left:
    case Qt::Key_Right: Form_KeyDown(key); break;
    default:
        Unload(); // any other key on the picture moves on to the next file
        break;
    }
}

void Reelbox_M::Display_Click()
{
    B.StopPlay = -1;
    Unload();
}

bool Reelbox_M::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Display)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!TakeGroupKey(*key))
            Display_KeyDown(key->key());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Display_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Reelbox_M::StopAndUnload()
{
    if (graph_)
        graph_->Stop();
    Unload();
}

void Reelbox_M::OnUnload()
{
    Timer1->stop();
    CleanUp();
}
