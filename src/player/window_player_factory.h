#pragma once
// The player windows as the main window gets them: each show creates the
// window for the file in PlayFile, loads it and runs it modally until it
// closes. All windows play through one engine, kept for the program's life so
// that a list moves from file to file without starting the engine again.

#include "app/player_factory.h"

#include <memory>

class FavoriteGroups;
class MprisPlayer;
class MpvBackgroundStart;
class PlaybackEngine;
class SkinnedPlayerWindow;
class ResumeRecorder;
struct Reelbox_B;

class WindowPlayerFactory : public PlayerFactory
{
public:
    // Windows play shared.PlayFile through engine (or, without one, through a
    // libmpv engine made on the first show).
    explicit WindowPlayerFactory(Reelbox_B &shared, PlaybackEngine *engine = nullptr);
    ~WindowPlayerFactory() override;

    bool ShowModal(PlayerWindow which, QWidget *owner) override;
    void StopPlaying() override;
    bool PlayerOnScreen() const override;

    // From now on each window offers itself to the desktop's media controls
    // through mpris while it plays (none: not offered).
    void SetMediaControls(MprisPlayer *mpris) { mpris_ = mpris; }
    // From now on the windows' group keys add the playing file to groups.
    void SetFavoriteGroups(FavoriteGroups *groups) { groups_ = groups; }
    // From now on the windows' plays are recorded for resuming.
    void SetResumeRecorder(ResumeRecorder *recorder) { recorder_ = recorder; }

    // Starts making the engine on a thread of its own (loading libmpv,
    // starting its core and OpenGL), so that the first play finds it ready;
    // a play asked for before it is done waits for the rest of it. GUI thread.
    void PrepareEngine();

private:
    class Showing;

    // The one engine all windows play through, made here on first use.
    PlaybackEngine &Engine();
    bool ShowDirectShow(QWidget *owner);
    bool ShowRealAudio(QWidget *owner);

    Reelbox_B &shared_;
    PlaybackEngine *engine_;
    std::unique_ptr<PlaybackEngine> ownEngine_;
    std::unique_ptr<MpvBackgroundStart> start_;
    MprisPlayer *mpris_ = nullptr;
    FavoriteGroups *groups_ = nullptr;
    ResumeRecorder *recorder_ = nullptr;
    SkinnedPlayerWindow *showing_ = nullptr; // the window on the screen now
};
