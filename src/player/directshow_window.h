#pragma once
// Reelbox_M: the window that plays one file through the filter graph, shown
// modally by the main window once per file. It sizes itself to the picture as
// it is shown, scaled down to fit the screen without its panels, never
// narrower than its strip and times need (or it covers the screen), plays at
// once, shows position, length (as it becomes known) and remaining time
// under a seek bar, takes the keyboard and mouse commands, and hands control
// back only by closing: with StopPlay untouched when the file ended or the user
// skipped to the next one, after setting StopPlay to -1 when the user stopped.
//
// Keys go to the video area's handler while the video area has the focus and
// to the window's handler otherwise; keys and clicks made on the picture reach
// the video area through the graph's message drain.

#include "player/skinned_player_window.h"

#include <memory>

class dtVisualScrollBar;
class FilgraphManager;
class PlaybackEngine;
class QLabel;
class QTimer;

class Reelbox_M : public SkinnedPlayerWindow
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

    // Controls, by their design names (the title strip's in SkinnedPlayerWindow).
    QWidget *Display, *Pic_B;
    dtVisualScrollBar *H1;
    QLabel *Pos_Time, *lbl, *Total_Time, *Rem_Time;
    QTimer *Timer1;

    // Window state. The picture's size starts as the video area's design
    // size, which a file without a picture keeps.
    QString MediaFile;
    qint32 VideoWidth = 233, VideoHeight = 193;
    qint32 SeekStep = 0;

    // Handlers.
    void LoadFile();
    void CorrectAspect();
    void CleanUp();
    void Timer1_Timer();
    void H1_Scroll();
    void Form_KeyDown(int key) override;
    void Display_KeyDown(int key);
    void Display_Click();

    // The desktop's seeking, as the seek bar's: along a known length.
    bool RemoteCanSeek() const override;
    void RemoteSeek(double seconds) override;

    // The graph while a file is loaded (none before the load and after closing).
    FilgraphManager *Graph() const { return graph_.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool HasPlayer() const override;
    void ResumePlayer() override;
    void PausePlayer() override;
    void OnUnload() override;

private:
    void CreateControls();
    void CreateBottomPanel();
    void SizeToPicture();
    void LayOut();
    int ChromeWidth() const;
    void ShowLength(double duration);
    void OnPictureChanged();
    void PlaceWindow();
    void StopAndUnload();
    void SetLabelText(QLabel *label, const QString &text);

    PlaybackEngine &engine_;
    std::unique_ptr<FilgraphManager> graph_;
    double shownLength_ = 0; // the length the labels and the bar show
};
