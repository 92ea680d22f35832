// The DirectShow window against the fake engine: layout, the poll, the keys
// and every way it closes, with what each leaves for the play loop.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "controls/visual_scroll_bar.h"
#include "fakes/fake_engine.h"
#include "media/filgraph_manager.h"
#include "player/window_player_factory.h"
#include "widgets/picture_label.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class DirectShowWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clip_ = folder_.filePath("clip.avi");
        QFile(clip_).open(QIODevice::WriteOnly);
        shared_.PlayFile = clip_;
        engine_.SetDuration(100);
        engine_.SetPictureSize({320, 240});
    }
    std::unique_ptr<Reelbox_M> Load()
    {
        auto w = std::make_unique<Reelbox_M>(shared_, engine_);
        loaded_ = w->Form_Load();
        return w;
    }

    QTemporaryDir folder_;
    QString clip_;
    Reelbox_B shared_{QString()};
    FakeEngine engine_;
    bool loaded_ = false;
};

TEST_F(DirectShowWindow, SizesItselfToThePictureAndStartsPlaying)
{
    shared_.InPlayLoop = -1;
    auto w = Load();
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(w->size(), QSize(320, 293));
    EXPECT_EQ(w->ImgExit->x(), 300);
    EXPECT_EQ(w->Pic_B->y(), 260);
    EXPECT_EQ(w->Display->geometry(), QRect(0, 20, 320, 240));
    EXPECT_EQ(w->H1->width(), 320);
    EXPECT_EQ(w->H1->Max(), 100);
    EXPECT_EQ(w->H1->SmallChange(), 2);
    EXPECT_EQ(w->SeekStep, 5);
    EXPECT_EQ(w->Total_Time->text(), "00:01:40");
    EXPECT_EQ(w->lbl_msg->text(), "Playing... clip.avi");
    EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Playing);
    EXPECT_EQ(engine_.VideoWidget()->parentWidget(), w->Display);
}

// The window for pictures of every size, on this screen: it lies on what
// panels leave of the screen, holds the picture at its proportions, and is
// never narrower than its strip and times; a picture without a size keeps
// the design's video area until one comes.
TEST_F(DirectShowWindow, FitsEveryPictureToTheScreenAndItsChrome)
{
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize big = QSize(1920, 1080).scaled(room.size() - QSize(0, 53), Qt::KeepAspectRatio);
    const struct
    {
        const char *why;
        QSize picture, later; // the picture at load, and one that comes after
        QSize window;
        QRect shown; // the picture's place in the video area
    } rows[] = {
        {"no picture", {}, {}, {233, 246}, {}},
        {"picture known late", {}, {320, 240}, {320, 293}, {0, 0, 320, 240}},
        {"larger than the screen", {1920, 1080}, {}, big + QSize(0, 53), {QPoint(0, 0), big}},
        {"non-square pixels, as shown", {854, 480}, {}, {854, 533}, {0, 0, 854, 480}},
        {"tiny", {64, 48}, {}, {150, 101}, {43, 0, 64, 48}},
    };
    shared_.InPlayLoop = -1;
    for (const auto &row : rows) {
        engine_.SetPictureSize(row.picture);
        auto w = Load();
        if (!row.later.isEmpty())
            engine_.ChangePicture(row.later);
        EXPECT_EQ(w->size(), row.window) << row.why;
        EXPECT_TRUE(room.contains(w->geometry())) << row.why << ": " << ::testing::PrintToString(w->geometry());
        EXPECT_EQ(w->Display->geometry(), QRect(0, 20, w->width(), w->height() - 53)) << row.why;
        EXPECT_EQ(w->Pic_B->width(), w->width()) << row.why;
        if (!row.shown.isEmpty())
            EXPECT_EQ(engine_.VideoWidget()->geometry(), row.shown) << row.why;
        EXPECT_LT(w->lbl_msg->geometry().right(), w->ImgExit->x()) << row.why << ": the text under the exit picture";
        EXPECT_LE(w->Rem_Time->geometry().right(), w->width()) << row.why;
    }
}

// A length unknown at first, or growing, is shown once known and followed.
TEST_F(DirectShowWindow, FollowsALengthThatBecomesKnown)
{
    shared_.InPlayLoop = -1;
    engine_.SetDuration(0);
    auto w = Load();
    EXPECT_EQ(w->Total_Time->text(), "00:00:00");
    engine_.ChangeDuration(100);
    engine_.Advance(3);
    w->Timer1_Timer();
    EXPECT_EQ(w->Total_Time->text(), "00:01:40");
    EXPECT_EQ(w->Rem_Time->text(), "00:01:37");
    EXPECT_EQ(w->H1->Max(), 100);
    EXPECT_EQ(w->SeekStep, 5);
    engine_.ChangeDuration(130.5);
    w->Timer1_Timer();
    EXPECT_EQ(w->Total_Time->text(), "00:02:10");
    EXPECT_EQ(w->H1->Max(), 130);
}

TEST_F(DirectShowWindow, FullScreenCoversTheScreen)
{
    shared_.PlaySource = 1;
    shared_.Full2 = 1;
    shared_.InPlayLoop = -1;
    auto w = Load();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(w->size(), screen);
    EXPECT_EQ(w->Display->size(), QSize(screen.width(), screen.height() - 53));
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_TRUE(w->windowState() & Qt::WindowFullScreen);

    shared_.Full2 = 2; // compared with 1, not merely non-zero
    EXPECT_FALSE(w->FullScreenMode());
}

TEST_F(DirectShowWindow, PollShowsTimesAndFollowsWithTheBar)
{
    shared_.InPlayLoop = -1;
    auto w = Load();
    engine_.Advance(61.6);
    w->Timer1_Timer();
    EXPECT_EQ(w->Pos_Time->text(), "00:01:01");
    EXPECT_EQ(w->Rem_Time->text(), "00:00:38");
    EXPECT_EQ(w->H1->Value(), 62);
    EXPECT_FALSE(w->Closed()); // equal texts no longer close: the stream's end does
}

TEST_F(DirectShowWindow, AltTogglesPauseAndArrowsSeek)
{
    shared_.InPlayLoop = -1;
    auto w = Load();
    engine_.Advance(12);
    w->Form_KeyDown(Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Pause");
    EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Paused);
    w->Display_KeyDown(Qt::Key_Alt); // not from the video area
    EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Paused);
    w->Form_KeyDown(Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Playing... clip.avi");
    EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Playing);

    w->Form_KeyDown(Qt::Key_Left);
    EXPECT_EQ(engine_.Position(), 10);
    w->Display_KeyDown(Qt::Key_Right);
    EXPECT_EQ(engine_.Position(), 15);
    w->Form_KeyDown(Qt::Key_A); // a letter at the window level does nothing
    EXPECT_FALSE(w->Closed());
}

struct CloseRow
{
    const char *cause;
    std::function<void(Reelbox_M &, FakeEngine &)> act;
    const char *message; // nullptr: unchanged
    qint16 stopPlay;
};

TEST_F(DirectShowWindow, EveryWayOfClosingTellsTheLoopWhatToDo)
{
    const CloseRow rows[] = {
        {"end of stream", [](Reelbox_M &, FakeEngine &e) { e.FinishStream(); }, nullptr, 0},
        {"Ctrl", [](Reelbox_M &w, FakeEngine &) { w.Form_KeyDown(Qt::Key_Control); }, "Unloading", 0},
        {"letter on the picture", [](Reelbox_M &w, FakeEngine &) { w.Display_KeyDown(Qt::Key_Q); }, nullptr, 0},
        {"Esc", [](Reelbox_M &w, FakeEngine &) { w.Form_KeyDown(Qt::Key_Escape); }, "Unloading", -1},
        {"Space on the picture", [](Reelbox_M &w, FakeEngine &) { w.Display_KeyDown(Qt::Key_Space); }, "Unloading", -1},
        {"click on the picture", [](Reelbox_M &w, FakeEngine &) { w.Display_Click(); }, nullptr, -1},
        {"exit picture",
         [](Reelbox_M &w, FakeEngine &) {
             w.ImgExit_MouseUp();
             w.ImgExit_Click();
         },
         nullptr, -1},
        {"broken stream", [](Reelbox_M &, FakeEngine &e) { e.FailPlayback(); }, nullptr, 0},
    };
    for (const CloseRow &row : rows) {
        shared_.InPlayLoop = -1;
        shared_.StopPlay = 0;
        auto w = Load();
        const QString before = w->lbl_msg->text();
        row.act(*w, engine_);
        EXPECT_TRUE(w->Closed()) << row.cause;
        EXPECT_EQ(w->Graph(), nullptr) << row.cause;
        EXPECT_EQ(w->lbl_msg->text(), row.message ? QString(row.message) : before) << row.cause;
        EXPECT_EQ(shared_.StopPlay, row.stopPlay) << row.cause;
        EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Empty) << row.cause;
    }
}

TEST_F(DirectShowWindow, AFileThatCannotBeRenderedIsNotShown)
{
    engine_.FailLoad();
    auto w = Load();
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(w->Graph(), nullptr);
}

TEST_F(DirectShowWindow, KeysAndClicksReachTheirHandlers)
{
    shared_.InPlayLoop = -1;
    auto w = Load();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    // The window's own key table applies, not the picture's, until the user
    // puts the focus on the picture.
    ASSERT_EQ(QApplication::focusWidget(), w.get());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Pause");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Shift);
    EXPECT_FALSE(w->Closed()) << "a key without a command does nothing";
    QTest::mouseClick(engine_.VideoWidget(), Qt::LeftButton); // on the picture itself
    EXPECT_TRUE(w->Closed());
    EXPECT_EQ(shared_.StopPlay, -1);
}

// A clip that ends while the opening outline runs closes the window before it
// is ever shown: the factory must not then show it as a window nothing closes.
TEST_F(DirectShowWindow, AClipThatEndsWhileTheWindowOpensIsNeverShown)
{
    shared_.InPlayLoop = 0; // a single play: the opening outline runs
    WindowPlayerFactory players(shared_, &engine_);
    QTimer::singleShot(20, &engine_, [this] { engine_.FinishStream(); });
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            stuck = true;
            modal->close();
        }
    });
    watchdog.start(3000);
    EXPECT_TRUE(players.ShowModal(PlayerWindow::DirectShow, nullptr));
    EXPECT_FALSE(stuck) << "the closed window was shown and stayed";
}

} // namespace
