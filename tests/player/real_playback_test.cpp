// Real files through the real engine: the player window plays a generated clip
// to its end, and the main window's continuous play goes through a folder of
// three clips, or ends when the user presses Esc.

#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "fakes/program_folder.h"
#include "media/media_clips.h"
#include "media/mpv_engine.h"
#include "player/directshow_window.h"
#include "player/window_player_factory.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The real factory, counting shows and able to act once a window is up.
class RecordingPlayers : public PlayerFactory
{
public:
    RecordingPlayers(Reelbox_B &shared, PlaybackEngine &engine)
        : real_(shared, &engine)
        , shared_(shared)
    {
    }
    bool ShowModal(PlayerWindow which, QWidget *owner) override
    {
        played.append(QFileInfo(shared_.PlayFile).fileName());
        std::unique_ptr<QTimer> watch;
        if (whileShown)
            watch = ActOnceTheWindowShows();
        const bool shown = real_.ShowModal(which, owner);
        if (!shown)
            unplayable.append(played.last());
        return shown;
    }
    void StopPlaying() override { real_.StopPlaying(); }
    bool PlayerOnScreen() const override { return real_.PlayerOnScreen(); }
    QStringList played;
    QStringList unplayable; // files whose window could not even open
    std::function<void(qsizetype show, QWidget *window)> whileShown;

private:
    // Looks for the window from the event loop (the player's load runs one of
    // its own: a wait here would hold the load up), and acts on it once.
    std::unique_ptr<QTimer> ActOnceTheWindowShows()
    {
        auto timer = std::make_unique<QTimer>();
        timer->setInterval(10);
        QObject::connect(timer.get(), &QTimer::timeout, [this, timer = timer.get()] {
            if (QWidget *window = QApplication::activeModalWidget()) {
                timer->stop();
                whileShown(played.size(), window);
            }
        });
        timer->start();
        return timer;
    }
    WindowPlayerFactory real_;
    Reelbox_B &shared_;
};

TEST(RealPlayback, TheWindowPlaysAClipToItsEndAndHandsBack)
{
    const QString clip = MediaClips::Path("clip.avi");
    ASSERT_FALSE(clip.isEmpty()) << MediaClips::Error().toStdString();
    MpvEngine engine(MpvEngineOptions{true, true});
    Reelbox_B shared{QString()};
    shared.PlayFile = clip;
    shared.InPlayLoop = -1;
    WindowPlayerFactory players(shared, &engine);
    EXPECT_TRUE(players.ShowModal(PlayerWindow::DirectShow, nullptr));
    EXPECT_EQ(shared.StopPlay, 0);

    shared.PlayFile = MediaClips::Garbage();
    EXPECT_FALSE(players.ShowModal(PlayerWindow::DirectShow, nullptr));
}

// A stop that comes while the window still opens its file (a file handed
// over, the desktop's media controls) closes it once it has shown, and ends
// the list; the engine is free for the next file.
TEST(RealPlayback, AStopWhileTheWindowOpensItsFileClosesItOnceShown)
{
    MpvEngine engine(MpvEngineOptions{true, true});
    Reelbox_B shared{QString()};
    shared.PlayFile = MediaClips::Path("clip.avi");
    shared.InPlayLoop = -1;
    WindowPlayerFactory players(shared, &engine);
    struct ShowCount : QObject
    {
        int shows = 0;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            shows += event->type() == QEvent::Show && qobject_cast<Reelbox_M *>(watched);
            return false;
        }
    } count;
    qApp->installEventFilter(&count);
    QTimer::singleShot(0, [&] { players.StopPlaying(); }); // runs inside the load's wait
    QTimer stuck;                                          // ends a wait that would never end
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [&] { emit engine.Failed(QStringLiteral("stuck")); });
    stuck.start(5000);
    EXPECT_TRUE(players.ShowModal(PlayerWindow::DirectShow, nullptr));
    EXPECT_TRUE(stuck.isActive()) << "the load waited for good";
    EXPECT_EQ(count.shows, 1);
    EXPECT_EQ(shared.StopPlay, -1);
    qApp->removeEventFilter(&count);

    shared.StopPlay = 0;
    EXPECT_TRUE(players.ShowModal(PlayerWindow::DirectShow, nullptr));
    EXPECT_EQ(shared.StopPlay, 0);
}

class RealLoop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"1.avi", "2.avi", "3.avi"}) {
            const QString made = MediaClips::Custom(name, "testsrc=size=160x120:rate=25:duration=1",
                                                    {"-c:v", "mpeg4", "-an", "-f", "avi"});
            ASSERT_FALSE(made.isEmpty()) << MediaClips::Error().toStdString();
            ASSERT_TRUE(QFile::copy(made, folder_.FilePath(name)));
        }
        shared_.emplace(folder_.Path());
    }
    ProgramFolder folder_;
    std::optional<Reelbox_B> shared_;
};

TEST_F(RealLoop, ContinuousPlayGoesThroughTheFolderFromFirstToLast)
{
    MpvEngine engine(MpvEngineOptions{true, true});
    RecordingPlayers players(*shared_, engine);
    Reelbox_S main(*shared_, players);
    main.Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(players.played, (QStringList{"1.avi", "2.avi", "3.avi"}));
    EXPECT_TRUE(players.unplayable.isEmpty())
        << players.unplayable.join(' ').toStdString(); // video without sound plays
    EXPECT_EQ(shared_->StopPlay, 0);
}

TEST_F(RealLoop, EscDuringTheSecondFileEndsTheLoop)
{
    MpvEngine engine; // timed: each clip plays for its second
    RecordingPlayers players(*shared_, engine);
    players.whileShown = [](qsizetype show, QWidget *window) {
        if (show == 2)
            QTest::keyClick(window, Qt::Key_Escape);
    };
    Reelbox_S main(*shared_, players);
    main.Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(players.played, (QStringList{"1.avi", "2.avi"}));
    EXPECT_EQ(shared_->StopPlay, -1);
}

} // namespace
