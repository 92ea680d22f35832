#include "player/skinned_player_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "app/title_drag.h"
#include "base/file_names.h"
#include "base/program_name.h"
#include "player/group_keys.h"
#include "player/player_chrome.h"
#include "player/player_note.h"
#include "widgets/fonts.h"
#include "widgets/picture_label.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {
constexpr int TextGap = 4; // between the status text and the exit picture

// The name the task switcher shows: the played file's, e.g. "a.avi - Reelbox".
QString TitleFor(const QString &path)
{
    const QString name = DisplayFileName(QFileInfo(path).fileName());
    return name.isEmpty() ? ProgramName : name + QStringLiteral(" - ") + ProgramName;
}
} // namespace

const QString SkinnedPlayerWindow::PauseText = QStringLiteral("Pause");
const QString SkinnedPlayerWindow::UnloadingText = QStringLiteral("Unloading");

SkinnedPlayerWindow::SkinnedPlayerWindow(Reelbox_B &shared, TitleStrip design, QWidget *parent)
    // A window of its own to the window manager, not a dialog: a manager may
    // push a dialog wholly back onto the screen, where this window must open
    // where the user left it, partly past an edge included. Modal all the same.
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint)
    , B(shared)
    , design_(design)
{
    setWindowTitle(TitleFor(B.PlayFile));
    setFont(DesignFont());
    Image1 = new PictureLabel(this);
    Image1->SetPictureProperty(SkinPicture(QStringLiteral("title_bar")));
    Image1->setScaledContents(true);
    Image1->setGeometry(0, 0, design.width, TitleHeight);
    ImgExit = new PictureLabel(this);
    ImgExit->SetPictureProperty(SkinPicture(QStringLiteral("close_normal")));
    ImgExit->setGeometry(design.exitLeft, 4, 15, 15);
    ImgExit->setCursor(SkinPointer());
    ImgExit->SetAccessibleRole(QAccessible::PushButton);
    ImgExit->setAccessibleName(QStringLiteral("閉じる"));
    ImgExit->setAccessibleDescription(QStringLiteral("再生を止めます"));
    lbl_msg = new QLabel(QStringLiteral("Loading..."), this);
    lbl_msg->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lbl_msg->setAttribute(Qt::WA_TransparentForMouseEvents); // the strip drags under it
    lbl_msg->move(8, design.labelTop);
    lbl_msg->adjustSize();
    connect(Image1, &PictureLabel::MouseDown, this, &SkinnedPlayerWindow::Image1_MouseDown);
    connect(Image1, &PictureLabel::MouseMove, this, &SkinnedPlayerWindow::Image1_MouseMove);
    connect(Image1, &PictureLabel::MouseUp, this, &SkinnedPlayerWindow::Image1_MouseUp);
    connect(ImgExit, &PictureLabel::MouseDown, this, &SkinnedPlayerWindow::ImgExit_MouseDown);
    connect(ImgExit, &PictureLabel::MouseUp, this, &SkinnedPlayerWindow::ImgExit_MouseUp);
    connect(ImgExit, &PictureLabel::Click, this, &SkinnedPlayerWindow::ImgExit_Click);
}

bool SkinnedPlayerWindow::FullScreenMode() const
{
    return (B.PlaySource == 0 && B.Full1 == 1) || (B.PlaySource == 1 && B.Full2 == 1);
}

QString SkinnedPlayerWindow::PlayingText() const
{
    const bool there = KindOfPath(B.PlayFile) != PathKind::Missing;
    return QStringLiteral("Playing... ") + (there ? DisplayFileName(QFileInfo(B.PlayFile).fileName()) : QString());
}

void SkinnedPlayerWindow::ShowPlaying()
{
    SetMessage(PlayingText());
}

void SkinnedPlayerWindow::SetMessage(const QString &text)
{
    lbl_msg->setText(text);
    lbl_msg->adjustSize();
}

void SkinnedPlayerWindow::SetTitleWidth(int width)
{
    Image1->setFixedWidth(width);
    ImgExit->move(width - ExitFromRight, ImgExit->y());
    lbl_msg->setMaximumWidth(qMax(0, ImgExit->x() - TextGap - lbl_msg->x()));
    lbl_msg->adjustSize();
}

int SkinnedPlayerWindow::TitleChromeWidth() const
{
    const int text = lbl_msg->fontMetrics().horizontalAdvance(PlayingText());
    return qMin(lbl_msg->x() + text + TextGap + ExitFromRight, design_.width);
}

void SkinnedPlayerWindow::AnimateOpenFromCursor()
{
    if (B.InPlayLoop == 0) {
        const QPoint cursor = QCursor::pos();
        B.ApiResult = 1;
        CursorX = static_cast<qint16>(cursor.x());
        CursorY = static_cast<qint16>(cursor.y());
        AnimateOpen(this, CursorX, CursorY);
    }
    QApplication::restoreOverrideCursor();
}

void SkinnedPlayerWindow::EnterFullScreen()
{
    move(ScreenRect().topLeft());
    setWindowState(windowState() | Qt::WindowFullScreen);
}

QRect SkinnedPlayerWindow::ScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect SkinnedPlayerWindow::AvailableRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : ScreenRect();
}

void SkinnedPlayerWindow::Image1_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    Dragging = BeginTitleDrag(*this, Image1->PressedAt(), DragOffsetX, DragOffsetY) ? 1 : 0;
}

void SkinnedPlayerWindow::Image1_MouseMove()
{
    if (Dragging != 1)
        return;
    FollowTitleDrag(*this, DragOffsetX, DragOffsetY);
}

void SkinnedPlayerWindow::Image1_MouseUp()
{
    Dragging = 0;
}

void SkinnedPlayerWindow::ImgExit_MouseDown()
{
    ImgExit->SetPictureProperty(SkinPicture(QStringLiteral("close_pressed")));
}

void SkinnedPlayerWindow::ImgExit_MouseUp()
{
    ImgExit->SetPictureProperty(SkinPicture(QStringLiteral("close_normal")));
}

// Only a release over the picture stops: a press slid off it is taken back.
void SkinnedPlayerWindow::ImgExit_Click()
{
    QApplication::processEvents();
    B.StopPlay = -1;
    Unload();
}

bool SkinnedPlayerWindow::CommonKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Control:
        SetMessage(UnloadingText);
        Unload();
        return true;
    case Qt::Key_Alt:
        if (!HasPlayer())
            return true;
        if (lbl_msg->text() == PauseText) {
            ShowPlaying();
            ResumePlayer();
        } else {
            SetMessage(PauseText);
            PausePlayer();
        }
        return true;
    case Qt::Key_Escape:
    case Qt::Key_Space:
        SetMessage(UnloadingText);
        B.StopPlay = -1;
        Unload();
        return true;
    default: return false;
    }
}

bool SkinnedPlayerWindow::TakeGroupKey(const QKeyEvent &event)
{
    const std::optional<int> group = FavoriteGroupOfKey(event);
    if (!group)
        return false;
    if (!groups_ || event.isAutoRepeat())
        return true;
    const GroupAddition result = groups_->AddToGroup(*group, B.PlayFile);
    if (!note_)
        note_ = new PlayerNote(this, QPoint(8, TitleHeight + 8));
    note_->Show(GroupAdditionNote(*group, result));
    return true;
}

void SkinnedPlayerWindow::Unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    OnUnload();
    if (B.InPlayLoop == 0 && isVisible())
        AnimateClose(this, CursorX, CursorY);
    done(QDialog::Accepted);
}

// The window itself takes the focus when it shows, so that its key table
// applies rather than that of whichever control would get it first; what was
// asked of it from outside before it showed is done now.
void SkinnedPlayerWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    setFocus(Qt::ActiveWindowFocusReason);
    if (!heldCommands_.isEmpty())
        RunHeldCommands();
}

void SkinnedPlayerWindow::keyPressEvent(QKeyEvent *event)
{
    if (!TakeGroupKey(*event))
        Form_KeyDown(event->key());
}

void SkinnedPlayerWindow::closeEvent(QCloseEvent *event)
{
    // However the window is asked to close (the window manager, the session
    // ending), it closes the same way as its own commands close it.
    Unload();
    event->accept();
}
