// The play commands and their loop, against scripted player windows: what is
// played, in which order, through which window, and when the loop ends.

#include "app/main_window_fixture.h"
#include "controls/command.h"
#include "widgets/dir_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"

#include <QFileInfo>
#include <QTest>
#include <set>

namespace {

class PlayCommands : public MainWindow
{
protected:
    // A program folder holding n clips clip0.avi .. clip(n-1).avi.
    std::unique_ptr<Reelbox_S> StartWithClips(int n)
    {
        for (int i = 0; i < n; ++i)
            folder_.Write(QStringLiteral("clip%1.avi").arg(i), "x");
        return Start();
    }
    QStringList Played() const
    {
        QStringList names;
        for (const PlayerShow &show : players_->shows)
            names.append(QFileInfo(show.PlayFile).fileName());
        return names;
    }
    // The user stops playback as the n-th show closes.
    void StopAtShow(qsizetype stopAt)
    {
        players_->onShow = [stopAt](qsizetype n, Reelbox_B &b) {
            if (n == stopAt)
                b.StopPlay = -1;
            return true;
        };
    }
};

TEST_F(PlayCommands, ContinuousPlayInOrderRunsFromTheStartToTheEnd)
{
    auto w = StartWithClips(5);
    w->FileStartIndex = 2;
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(Played(), (QStringList{"clip2.avi", "clip3.avi", "clip4.avi"}));
    for (const PlayerShow &show : players_->shows) {
        EXPECT_EQ(show.InPlayLoop, -1);
        EXPECT_EQ(show.PlaySource, 0);
        EXPECT_EQ(show.window, PlayerWindow::DirectShow);
        EXPECT_TRUE(show.PlayFile.startsWith(folder_.Path() + "/"));
    }
}

TEST_F(PlayCommands, EdgesOfContinuousPlay)
{
    auto w = StartWithClips(1);
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(Played(), QStringList{"clip0.avi"}); // a one-entry list plays once

    players_->shows.clear();
    w->FileStartIndex = -1; // pressed where nothing was selected: from the top
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(Played(), QStringList{"clip0.avi"});

    players_->shows.clear();
    w->FileStartIndex = 5; // the list shrank since: nothing to play
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_TRUE(Played().isEmpty());
    EXPECT_EQ(shared_->InPlayLoop, -1);
}

TEST_F(PlayCommands, AStopEndsTheLoopButNotTheNextOne)
{
    auto w = StartWithClips(4);
    StopAtShow(2);
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(Played(), (QStringList{"clip0.avi", "clip1.avi"}));
    EXPECT_EQ(shared_->StopPlay, -1);

    players_->shows.clear();
    players_->onShow = nullptr;
    w->Comd_Click(Reelbox_S::PlayFilesButton); // the earlier stop does not cut this loop short
    EXPECT_EQ(Played().size(), 4);
}

TEST_F(PlayCommands, RandomPlayPlaysEachEntryOnceInVaryingOrder)
{
    auto w = StartWithClips(6);
    shared_->Rdm1 = 1;
    w->FileStartIndex = 4; // ignored at random
    std::set<QStringList> orders;
    for (int round = 0; round < 10; ++round) {
        players_->shows.clear();
        w->Comd_Click(Reelbox_S::PlayFilesButton);
        QStringList played = Played();
        orders.insert(played);
        played.sort();
        EXPECT_EQ(played, (QStringList{"clip0.avi", "clip1.avi", "clip2.avi", "clip3.avi", "clip4.avi", "clip5.avi"}));
    }
    EXPECT_GT(orders.size(), 1u);
}

TEST_F(PlayCommands, RepeatReplaysTheSelectedFileUntilStopped)
{
    auto w = StartWithClips(2);
    w->File1->SetListIndex(1);
    shared_->Rep1 = 1;
    StopAtShow(3);
    w->Comd_Click(Reelbox_S::PlayFileButton);
    EXPECT_EQ(Played(), (QStringList{"clip1.avi", "clip1.avi", "clip1.avi"}));
    EXPECT_EQ(players_->shows[0].InPlayLoop, -1);

    players_->shows.clear();
    shared_->Rep1 = 0;
    w->Comd_Click(Reelbox_S::PlayFileButton);
    EXPECT_EQ(Played(), QStringList{"clip1.avi"});
    EXPECT_EQ(players_->shows[0].InPlayLoop, 0);
}

TEST_F(PlayCommands, RepeatOfAFileThatCannotPlayEnds)
{
    auto w = StartWithClips(1);
    w->File1->SetListIndex(0);
    shared_->Rep1 = 1;
    players_->onShow = [](qsizetype, Reelbox_B &) { return false; };
    w->Comd_Click(Reelbox_S::PlayFileButton);
    EXPECT_EQ(players_->shows.size(), 1);
}

// What the desktop's media controls read at each show, and the switches
// they turn while a file plays, read by the command as it goes on.
struct Seen
{
    bool next;
    std::optional<bool> repeats, shuffles;
    bool operator==(const Seen &) const = default;
};

TEST_F(PlayCommands, TheDesktopReadsAndTurnsTheSwitchesOfThePlayUnderWay)
{
    auto w = StartWithClips(3);
    QList<Seen> seen;
    std::function<void(qsizetype)> act = [](qsizetype) {};
    players_->onShow = [&](qsizetype n, Reelbox_B &) {
        seen.append({w->RemoteHasNext(), w->RemoteRepeats(), w->RemoteShuffles()});
        act(n);
        return true;
    };

    // 再生 with 繰り返し off, turned on at the first show and off at the third.
    w->File1->SetListIndex(1);
    act = [&](qsizetype n) {
        if (n == 1 || n == 3)
            w->RemoteSetRepeat(n == 1);
    };
    w->Comd_Click(Reelbox_S::PlayFileButton);
    EXPECT_EQ(Played(), (QStringList{"clip1.avi", "clip1.avi", "clip1.avi"}));
    EXPECT_EQ(seen, (QList<Seen>{{false, false, {}}, {true, true, {}}, {true, true, {}}}));
    EXPECT_EQ(players_->shows[1].InPlayLoop, -1);
    EXPECT_EQ(shared_->Rep1, 0);
    EXPECT_TRUE(Shows(w->Img_Rep1, w->Img_Opt_off));

    // 連続再生 in order, turned random at the first show: the other two follow
    // once each; a list has no 繰り返し to turn.
    players_->shows.clear();
    seen.clear();
    w->FileStartIndex = 0;
    act = [&](qsizetype n) {
        if (n == 1)
            w->RemoteSetShuffle(true);
        w->RemoteSetRepeat(true);
    };
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    QStringList played = Played();
    ASSERT_EQ(played.size(), 3);
    EXPECT_EQ(played.takeFirst(), "clip0.avi");
    played.sort();
    EXPECT_EQ(played, (QStringList{"clip1.avi", "clip2.avi"}));
    EXPECT_EQ(seen.first(), (Seen{true, {}, false}));
    EXPECT_EQ(seen.last(), (Seen{false, {}, true}));
    EXPECT_EQ(shared_->Rdm1, 1);
    EXPECT_TRUE(Shows(w->Img_rdm1[1], w->Img_Opt_on));
    EXPECT_EQ(shared_->Rep1, 0);

    // Files handed to the program: in turn, no switch; nothing after the play.
    seen.clear();
    act = [](qsizetype) {};
    w->OpenArguments({"clip2.avi", "clip0.avi"}, folder_.Path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen, (QList<Seen>{{true, {}, {}}, {false, {}, {}}}));
    EXPECT_EQ((Seen{w->RemoteHasNext(), w->RemoteRepeats(), w->RemoteShuffles()}), (Seen{false, {}, {}}));
}

TEST_F(PlayCommands, PlayWithoutASelectionPlaysNothing)
{
    auto w = StartWithClips(2);
    w->Comd_Click(Reelbox_S::PlayFileButton);
    w->Comd_Click(Reelbox_S::PlayFavoriteButton);
    w->Comd_Click(Reelbox_S::RemoveFavoriteButton);
    EXPECT_TRUE(players_->shows.isEmpty());
}

TEST_F(PlayCommands, FavouritesSideUsesItsOwnSwitchesAndTheRealAudioNames)
{
    auto w = StartWithClips(0);
    const QString a = folder_.Write("a.avi", "x");
    const QString b = folder_.Write("b.MPEG", "x");
    w->AppendFavorites({a});
    w->AppendFavorites({b});
    w->FavoriteStartIndex = 0;
    w->Comd_Click(Reelbox_S::PlayFavoritesButton);
    ASSERT_EQ(players_->shows.size(), 2);
    EXPECT_EQ(players_->shows[0].window, PlayerWindow::DirectShow);
    EXPECT_EQ(players_->shows[1].window, PlayerWindow::RealAudio);
    EXPECT_EQ(players_->shows[1].PlaySource, 1);

    players_->shows.clear();
    w->List_Favorite->SetListIndex(1);
    shared_->Rep2 = 1;
    StopAtShow(2);
    w->Comd_Click(Reelbox_S::PlayFavoriteButton);
    EXPECT_EQ(players_->shows.size(), 2);
    EXPECT_EQ(players_->shows[0].PlayFile, b);
}

TEST_F(PlayCommands, FavouriteEditsAndTheirButtons)
{
    auto w = StartWithClips(2);
    w->Comd_Click(Reelbox_S::AllToFavoritesButton);
    w->Comd_Click(Reelbox_S::AllToFavoritesButton); // no check against the list: every file twice
    EXPECT_EQ(w->List_Favorite->ListCount(), 4);
    EXPECT_EQ(w->List_Favorite->List(2), folder_.FilePath("clip0.avi"));
    EXPECT_TRUE(w->Comd[Reelbox_S::PlayFavoritesButton]->EnabledProperty());
    EXPECT_TRUE(w->Comd[Reelbox_S::ClearFavoritesButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFavoriteButton]->EnabledProperty());

    w->List_Favorite->SetListIndex(0);
    w->Comd_Click(Reelbox_S::RemoveFavoriteButton);
    EXPECT_EQ(w->List_Favorite->ListCount(), 3);
    w->Comd_Click(Reelbox_S::ClearFavoritesButton);
    EXPECT_EQ(w->List_Favorite->ListCount(), 0);
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFavoritesButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::ClearFavoritesButton]->EnabledProperty());
}

// Presses a mouse button on a switch, checks what the press did, then lets go
// (a press left held would leave the mouse down for the tests after this one).
void Press(QWidget *control, Qt::MouseButton button, const std::function<void()> &whileHeld)
{
    QTest::mousePress(control, button);
    whileHeld();
    QTest::mouseRelease(control, button);
}

TEST_F(PlayCommands, SwitchesToggleWithTheirPictures)
{
    auto w = StartWithClips(0);
    // Repeat, confirm: on the press, picture and label alike.
    Press(w->lbl_Rep1, Qt::LeftButton, [&] {
        EXPECT_EQ(shared_->Rep1, 1);
        EXPECT_TRUE(Shows(w->Img_Rep1, w->Img_Opt_on));
    });
    Press(w->Img_Rep1, Qt::RightButton, [&] {
        EXPECT_EQ(shared_->Rep1, 0);
        EXPECT_TRUE(Shows(w->Img_Rep1, w->Img_Opt_off));
    });
    Press(w->Img_Kakunin, Qt::LeftButton, [&] { EXPECT_EQ(shared_->Kakunin, 1); });
    Press(w->lbl_Rep2, Qt::LeftButton, [&] { EXPECT_EQ(shared_->Rep2, 1); });

    // Full screen: only when the click completes.
    Press(w->Img_Full1, Qt::LeftButton, [&] { EXPECT_EQ(shared_->Full1, 0); });
    EXPECT_EQ(shared_->Full1, 1);
    EXPECT_TRUE(Shows(w->Img_Full1, w->Img_Opt_on));
    QTest::mouseClick(w->lbl_Full2, Qt::LeftButton);
    EXPECT_EQ(shared_->Full2, 1);
    EXPECT_TRUE(Shows(w->Img_Full2, w->Img_Opt_on));
}

TEST_F(PlayCommands, OrderPairsChooseOneHalf)
{
    auto w = StartWithClips(0);
    Press(w->lbl_rdm1[1], Qt::LeftButton, [&] {
        EXPECT_EQ(shared_->Rdm1, 1);
        EXPECT_TRUE(Shows(w->Img_rdm1[1], w->Img_Opt_on));
        EXPECT_TRUE(Shows(w->Img_rdm1[0], w->Img_Opt_off));
    });
    QTest::mouseClick(w->Img_rdm1[1], Qt::LeftButton); // again: nothing changes
    EXPECT_EQ(shared_->Rdm1, 1);
    EXPECT_TRUE(Shows(w->Img_rdm1[1], w->Img_Opt_on));
    QTest::mouseClick(w->Img_rdm2[1], Qt::LeftButton);
    QTest::mouseClick(w->Img_rdm2[0], Qt::LeftButton);
    EXPECT_EQ(shared_->Rdm2, 0);
    EXPECT_TRUE(Shows(w->Img_rdm2[0], w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_rdm2[1], w->Img_Opt_off));
}

} // namespace
