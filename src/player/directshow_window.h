#pragma once
// Reelbox_M: the window that plays one file through the filter graph, shown
// modally by the main window once per file. It sizes itself to the picture (or
// covers the screen), plays at once, shows position, length and remaining time
// under a seek bar, takes the keyboard and mouse commands, and hands control
// back only by closing: with StopPlay untouched when the file ended or the user
// skipped to the next one, after setting StopPlay to -1 when the user stopped.
//
// Keys go to the video area's handler while the video area has the focus and
// to the window's handler otherwise; keys and clicks made on the picture reach
// the video area through the graph's message drain.

#include <QDialog>
#include <memory>

class dtVisualScrollBar;
class FilgraphManager;
class PictureLabel;
class PlaybackEngine;
class QLabel;
class QTimer;
struct Reelbox_B;

class Reelbox_M : public QDialog
{
    Q_OBJECT
public:
    // A window that plays shared.PlayFile through engine once loaded.
    Reelbox_M(Reelbox_B &shared, PlaybackEngine &engine, QWidget *parent = nullptr);
    ~Reelbox_M() override;

    // The window's load: renders the file, lays the window out and starts
    // playback. False when the file could not be rendered (the window then
    // has nothing to show and is not to be shown).
    bool Form_Load();

    // Controls, by their design names.
    PictureLabel *Image1, *ImgExit;
    QLabel *lbl_msg;
    QWidget *Display, *Pic_B;
    dtVisualScrollBar *H1;
    QLabel *Pos_Time, *lbl, *Total_Time, *Rem_Time;
    QTimer *Timer1;

    // Window state.
    QString MediaFile;
    qint32 VideoWidth = 0, VideoHeight = 0;
    qint32 SeekStep = 0;
    qint16 Dragging = 0, DragOffsetX = 0, DragOffsetY = 0;
    qint16 CursorX = 0, CursorY = 0;

    // Handlers.
    void LoadFile();
    void CorrectAspect();
    void CleanUp();
    void Timer1_Timer();
    void H1_Scroll();
    void Form_KeyDown(int key);
    void Display_KeyDown(int key);
    void Display_Click();
    void Image1_MouseDown(Qt::MouseButton button);
    void Image1_MouseMove();
    void Image1_MouseUp();
    void ImgExit_MouseDown();
    void ImgExit_MouseUp();

    // The graph while a file is loaded (none before the load and after closing).
    FilgraphManager *Graph() const { return graph_.get(); }
    bool FullScreenMode() const;
    // True once the window has closed (or was never loaded).
    bool Closed() const { return unloading_; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateControls();
    void CreateBottomPanel();
    void LayOut();
    void PlaceWindow();
    void ShowPlaying();
    void Unload();
    void StopAndUnload();
    void SetLabelText(QLabel *label, const QString &text);

    Reelbox_B &B;
    PlaybackEngine &engine_;
    std::unique_ptr<FilgraphManager> graph_;
    bool unloading_ = false;
};
