#pragma once
// A player-window factory for main-window tests: every show is recorded with
// the shared playback state as the player would have read it, and closes the
// way the test scripted (end of file by default).

#include "app/player_factory.h"
#include "app/reelbox_b.h"

#include <QList>
#include <functional>

struct PlayerShow
{
    PlayerWindow window;
    QString PlayFile;
    qint16 PlaySource;
    qint16 InPlayLoop;
};

class ScriptedPlayers : public PlayerFactory
{
public:
    explicit ScriptedPlayers(Reelbox_B &shared)
        : shared_(shared)
    {
    }

    bool ShowModal(PlayerWindow which, QWidget *) override
    {
        shows.append({which, shared_.PlayFile, shared_.PlaySource, shared_.InPlayLoop});
        showing_ = true;
        const bool played = onShow ? onShow(shows.size(), shared_) : true;
        showing_ = false;
        return played;
    }

    // The stop the real window makes: StopPlay -1, counted.
    void StopPlaying() override
    {
        shared_.StopPlay = -1;
        ++stops;
    }

    // On the screen while onShow runs, unless the test has the window still opening its file.
    bool PlayerOnScreen() const override { return showing_ && !opening; }

    QList<PlayerShow> shows;
    int stops = 0;
    bool opening = false;
    // Runs as the n-th show closes (1-based) and says whether the file played;
    // a user's stop sets StopPlay to -1.
    std::function<bool(qsizetype n, Reelbox_B &shared)> onShow;

private:
    Reelbox_B &shared_;
    bool showing_ = false;
};
