#pragma once
// Reelbox_R: the window that plays one file through three bound RealAudio
// controls, shown modally by the main window once per file: RealSC shows the
// picture, Real_Pos the position slider, Realmain the status bar; Realmain is
// given the file, takes the play and pause commands and raises the
// notifications the window follows. The window opens as its title strip
// alone, lays itself out to the clip once the control reports it (scaled down
// to fit the screen without its panels, never narrower than its strip and
// status bar need), mirrors the
// play state in the strip, and closes when the control reports that playback
// has stopped or when the user stops. It keeps its screen position in the
// settings file ("rFormTop", "rFormLeft") between runs.

#include "player/skinned_player_window.h"

class PlaybackEngine;
class RealAudio;

class Reelbox_R : public SkinnedPlayerWindow
{
    Q_OBJECT
public:
    // A window that plays shared.PlayFile through engine once loaded.
    Reelbox_R(Reelbox_B &shared, PlaybackEngine &engine, QWidget *parent = nullptr);

    // The window's load: the title strip alone, the file handed to the
    // controls and started, the window placed.
    void Form_Load();

    // Controls, by their design names (the title strip's in SkinnedPlayerWindow).
    RealAudio *RealSC, *Real_Pos, *Realmain;

    // Handlers.
    void Form_KeyDown(int key) override;
    void Realmain_OnClipOpened(const QString &title, const QString &url);
    void Realmain_OnPlayStateChange(qint32 state);

    // The desktop's seeking, as the position slider's: along a known
    // length. What plays is the clip the control plays.
    bool RemoteCanSeek() const override;
    void RemoteSeek(double seconds) override;
    RemoteTrack RemoteNowPlaying() const override;

    // True when the window closed on the control's stop before any clip
    // opened: the file could not be played at all.
    bool PlayedNothing() const { return playedNothing_; }

protected:
    void ResumePlayer() override;
    void PausePlayer() override;
    void OnUnload() override;

private:
    void CreateControls();
    void PlaceAtLoad();
    void LayOut();
    int ChromeWidth() const;
    void PlaceLaidOut();
    bool StoresPosition() const;

    bool clipOpened_ = false;
    bool playedNothing_ = false;
    QString storedTop_, storedLeft_; // the place stored, as read at load
    QPoint placed_;                  // where the window last put itself; elsewhere the user moved it
};
