// Command's answers to the user: the pointer's hover, press and release, the
// keyboard focus, Space and Return, and the poll that tells the pointer has
// left. Each moves ButtonState and has the face follow it.

#include "controls/command.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

void Command::TmrMouse_Timer()
{
    // The caption is transparent for the mouse, so widgetAt() normally answers
    // this control over it; the label is named as well to be safe.
    const QWidget *underCursor = QApplication::widgetAt(QCursor::pos());
    if (underCursor != this && underCursor != LblMsg)
        MouseLeave();
}

void Command::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    PointerOver();
}

void Command::mouseMoveEvent(QMouseEvent *event)
{
    // While a button is held the moves keep coming when the pointer is off the
    // control; only moves over it count as hovering.
    if (rect().contains(event->position().toPoint()))
        PointerOver();
}

// The pointer is over the control: it arrived (the window under a resting
// pointer gets an arrival and no move when a window over it closes) or moved.
void Command::PointerOver()
{
    if (!fields.EnabledFlag)
        return;
    if (fields.ButtonState == 1) {
        fields.ButtonState = 2;
        DrawFace(HighLight);
    } else if (fields.ButtonState == 3 && !fields.ButtonHeld) {
        fields.ButtonState = 4;
        DrawFace(HighLightSelect);
    }
}

void Command::mousePressEvent(QMouseEvent *event)
{
    if (!fields.EnabledFlag)
        return;
    // A press is the pointer over the control, also where no arrival or move
    // said so (it came while the control was disabled or covered): a focused
    // control clicks on its release.
    if (hoverPollArmed && fields.ButtonState == 3) {
        fields.ButtonState = 4;
        if (event->button() != Qt::LeftButton)
            DrawFace(HighLightSelect);
    }
    if (event->button() != Qt::LeftButton)
        return;
    fields.ButtonHeld = true;
    DrawFace(Pressed);
}

void Command::mouseReleaseEvent(QMouseEvent *event)
{
    if (!fields.EnabledFlag)
        return;
    if (event->button() == Qt::LeftButton) {
        fields.ButtonHeld = false;
        if (fields.ButtonState == 2)
            DrawFace(Normal);
        if (fields.ButtonState == 4)
            DrawFace(HighLightSelect);
    }
    // A release off the control is never a click, however soon after the
    // press slid off it; the pointer has left.
    if (!rect().contains(event->position().toPoint())) {
        MouseLeave();
        return;
    }
    // A press dragged off a focused control ends in state 3: no Click.
    if (fields.ButtonState != 3)
        emit Click();
}

void Command::MouseLeave()
{
    if (!fields.EnabledFlag)
        return;
    if (fields.ButtonState == 2) {
        fields.ButtonState = 1;
        DrawFace(Normal);
    } else if (fields.ButtonState == 4) {
        fields.ButtonState = 3;
        DrawFace(Selected);
    }
}

// The poll can only end a hover, so it runs only while one is shown (from the
// pointer's arrival to its leaving) and the control can react. A row of
// buttons at rest then costs no wake-ups and no pointer queries at all.
void Command::UpdateHoverPoll()
{
    const bool hovered = fields.ButtonState == 2 || fields.ButtonState == 4;
    if (hoverPollArmed && hovered && fields.EnabledFlag) {
        if (!TmrMouse->isActive())
            TmrMouse->start(); // at the interval set when the control was made
    } else {
        TmrMouse->stop();
    }
}

// The state follows the focus whether the control is enabled or not: a
// control that disables itself while it holds the focus (ﾘｽﾄから削除 removing
// the last selected entry) and loses it meanwhile must not take its next
// press for gaining the focus. A disabled control keeps its Disable face.
void Command::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    const bool stateShowsFocus = fields.ButtonState == 3 || fields.ButtonState == 4;
    if (IsWindowSwitch(event) && stateShowsFocus)
        return;
    if (fields.ButtonState != 2)
        MoveTo(3, Selected);
    else
        MoveTo(4, Pressed);
}

void Command::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    spaceHeld = false;
    if (IsWindowSwitch(event) || fields.ButtonState == 1)
        return;
    MoveTo(1, Normal);
}

// Focus that leaves or returns with the whole window (another window or a
// modal dialog activated, a popup opened) does not move the button's state:
// it still holds the focus within its window. The one exception is a button
// focused while its window was inactive: its first focus arrives this way.
bool Command::IsWindowSwitch(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

void Command::MoveTo(quint8 state, SkinFace face)
{
    fields.ButtonState = state;
    if (fields.EnabledFlag)
        DrawFace(face);
}

// Space (on release) and Return/Enter click a focused, enabled button, as on
// any push button; they leave the face alone. Other keys go to the host.
void Command::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (!fields.EnabledFlag || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    if (key == Qt::Key_Space)
        spaceHeld = true;
    else
        emit Click();
}

// Space clicks only when its press began here: a release whose press went to a
// window that has closed since (a player stopped with Space) must not click.
void Command::keyReleaseEvent(QKeyEvent *event)
{
    if (!fields.EnabledFlag || event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !spaceHeld)
        return;
    spaceHeld = false;
    emit Click();
}
