// The DirectShow player window while it plays: the poll, the seek bar, the
// keyboard and mouse commands, and closing.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "app/title_drag.h"
#include "controls/visual_scroll_bar.h"
#include "platform/media/filgraph_manager.h"
#include "platform/picture_label.h"
#include "player/player_rules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
const QString PauseText = QStringLiteral("Pause");
const QString UnloadingText = QStringLiteral("Unloading");
} // namespace

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
    const qint32 value = static_cast<qint32>(RoundHalfEven(position));
    if (value != H1->Value() && !H1->ThumbDragging())
        H1->SetValue(value);
    SetLabelText(Rem_Time, FormatTime(duration - position));
    SetLabelText(Pos_Time, FormatTime(position));
}

void Reelbox_M::H1_Scroll()
{
    if (graph_)
        graph_->CurrentPosition(H1->Value());
}

void Reelbox_M::Form_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Control:
        lbl_msg->setText(UnloadingText);
        Unload();
        break;
    case Qt::Key_Alt:
        if (!graph_)
            break;
        if (lbl_msg->text() == PauseText) {
            ShowPlaying();
            graph_->Run();
        } else {
            lbl_msg->setText(PauseText);
            graph_->Pause();
        }
        break;
    case Qt::Key_Escape:
    case Qt::Key_Space:
        lbl_msg->setText(UnloadingText);
        B.StopPlay = -1;
        Unload();
        break;
    case Qt::Key_Left:
        if (graph_)
            graph_->CurrentPosition(SeekBack(graph_->CurrentPosition().value_or(0), SeekStep));
        break;
    case Qt::Key_Right:
        if (graph_)
            graph_->CurrentPosition(SeekForward(graph_->CurrentPosition().value_or(0), SeekStep,
                                                graph_->Duration().value_or(0)));
        break;
    default:
        break;
    }
}

void Reelbox_M::Display_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Alt:
        break;
    case Qt::Key_Control:
    case Qt::Key_Escape:
    case Qt::Key_Space:
    case Qt::Key_Left:
    case Qt::Key_Right:
        Form_KeyDown(key);
        break;
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

// The window itself takes the focus when it shows, so that its key table
// (Alt pauses, the arrows seek, Ctrl skips, Esc and Space stop) applies; the
// picture's table serves keys only once the user has put the focus there.
void Reelbox_M::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFocus(Qt::ActiveWindowFocusReason);
}

void Reelbox_M::keyPressEvent(QKeyEvent *event)
{
    Form_KeyDown(event->key());
}

bool Reelbox_M::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Display)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        Display_KeyDown(static_cast<QKeyEvent *>(event)->key());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Display_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Reelbox_M::Image1_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    Dragging = BeginTitleDrag(*this, DragOffsetX, DragOffsetY) ? 1 : 0;
}

void Reelbox_M::Image1_MouseMove()
{
    if (Dragging != 1)
        return;
    FollowTitleDrag(*this, DragOffsetX, DragOffsetY);
}

void Reelbox_M::Image1_MouseUp()
{
    Dragging = 0;
}

void Reelbox_M::ImgExit_MouseDown()
{
    ImgExit->SetPicture(SkinPicture(QStringLiteral("close_pressed")));
}

void Reelbox_M::ImgExit_MouseUp()
{
    ImgExit->SetPicture(SkinPicture(QStringLiteral("close_normal")));
    QApplication::processEvents();
    B.StopPlay = -1;
    Unload();
}

void Reelbox_M::StopAndUnload()
{
    if (graph_)
        graph_->Stop();
    Unload();
}

void Reelbox_M::Unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    Timer1->stop();
    CleanUp();
    if (B.InPlayLoop == 0 && isVisible())
        AnimateClose(this, CursorX, CursorY);
    done(QDialog::Accepted);
}

void Reelbox_M::closeEvent(QCloseEvent *event)
{
    // However the window is asked to close (the window manager, the session
    // ending), it closes the same way as its own commands close it.
    Unload();
    event->accept();
}
