#pragma once
// What both player windows share: a frameless modal window with a title strip
// (Image1) that drags it, an exit picture (ImgExit) that stops the list, the
// status text (lbl_msg) on the strip, the full-screen rule, the opening and
// closing animations outside a play loop, and the one way of closing. Shown,
// the window takes the keyboard focus itself, so its key table applies.
//
// A window hands control back only by unloading: with StopPlay untouched when
// its file is done or the user skipped to the next, after setting StopPlay to
// -1 when the user stopped. Each window adds its own closing steps (OnUnload).

#include "desktop/remote_control.h"

#include <QDialog>
#include <QList>
#include <functional>

class FavoriteGroups;
class PictureLabel;
class PlayerNote;
class QLabel;
struct Reelbox_B;

class SkinnedPlayerWindow : public QDialog, public RemoteControl
{
    Q_OBJECT
public:
    // The title strip's controls.
    PictureLabel *Image1, *ImgExit;
    QLabel *lbl_msg;

    // Title drag (twips) and the point the animations run from and back to.
    qint16 Dragging = 0, DragOffsetX = 0, DragOffsetY = 0;
    qint16 CursorX = 0, CursorY = 0;

    // (PlaySource = 0 and Full1 = 1) or (PlaySource = 1 and Full2 = 1); the
    // switches are compared with 1.
    bool FullScreenMode() const;
    // True once the window has closed.
    bool Closed() const { return unloading_; }

    // The window's key handler, for keys that reach the window itself.
    virtual void Form_KeyDown(int key) = 0;

    // Where the group keys add the playing file (none: they do nothing).
    void SetFavoriteGroups(FavoriteGroups *groups) { groups_ = groups; }

    void Image1_MouseDown(Qt::MouseButton button);
    void Image1_MouseMove();
    void Image1_MouseUp();
    void ImgExit_MouseDown();
    void ImgExit_MouseUp();
    void ImgExit_Click();

    // The desktop's media controls and the main window's stop, answered by
    // the keys' own handlers: Alt pauses and resumes, Ctrl moves on, Esc
    // stops the list. One that comes while the window still opens its file
    // (before it shows) is held until the window is on the screen: what was
    // asked to play is seen, and the window is never closed under its own
    // load. A window that closes without showing drops what it held.
    void RemotePlayPause() override;
    void RemotePlay() override;
    void RemotePause() override;
    void RemoteNext() override;
    void RemoteStop() override;
    // The file in PlayFile, by its name.
    RemoteTrack RemoteNowPlaying() const override;

protected:
    // The design of the title strip, in pixels.
    struct TitleStrip
    {
        int width;    // Image1's width
        int exitLeft; // ImgExit's left
        int labelTop; // lbl_msg's top
    };

    SkinnedPlayerWindow(Reelbox_B &shared, TitleStrip design, QWidget *parent);

    // The strip's texts the keys set and read.
    static const QString PauseText;     // "Pause"
    static const QString UnloadingText; // "Unloading"

    // "Playing... " and the played file's name as found on disk (none when
    // the file does not exist).
    QString PlayingText() const;
    void ShowPlaying();
    // Shows text in the title strip.
    void SetMessage(const QString &text);
    // The strip across `width` pixels, the exit picture 20 pixels from its
    // right; the status text is cut short where it would run under it.
    void SetTitleWidth(int width);
    // The width the title strip needs to show the playing text whole, with
    // the exit picture beside it; at most the strip's design width, beyond
    // which the text is cut short.
    int TitleChromeWidth() const;
    // Outside a play loop, the opening animation from the pointer to the
    // window; then the default pointer.
    void AnimateOpenFromCursor();
    // Covers the screen, above panels and docks.
    void EnterFullScreen();
    // The screen players are placed on and sized to, in pixels.
    static QRect ScreenRect();
    // The part of it windows are to keep to: without panels and docks.
    static QRect AvailableRect();

    // The keys both windows answer alike: Ctrl moves on to the next file; Alt
    // pauses, or resumes when the strip reads exactly "Pause"; Esc and Space
    // stop the list. False for any other key.
    bool CommonKeyDown(int key);
    // A group key (group_keys.h), wherever in the window it was pressed: the
    // playing file joins its group, and a note over the picture says how it
    // went. False for any other key, which keeps its meaning.
    bool TakeGroupKey(const QKeyEvent &event);
    // Alt's commands to the window's player; HasPlayer false makes Alt do nothing.
    virtual bool HasPlayer() const { return true; }
    virtual void ResumePlayer() = 0;
    virtual void PausePlayer() = 0;

    // Closes the window (once): OnUnload, then outside a play loop the closing
    // animation back to the pointer's point, then the modal show ends.
    void Unload();
    // The window's own steps as it closes, before the animation.
    virtual void OnUnload() = 0;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    Reelbox_B &B;

private:
    // Runs command now when the window shows, else once it does; never once it has closed.
    void WhenShown(std::function<void()> command);
    void RunHeldCommands();

    TitleStrip design_;
    bool unloading_ = false;
    FavoriteGroups *groups_ = nullptr;
    PlayerNote *note_ = nullptr; // made when first shown
    QList<std::function<void()>> heldCommands_;
};
