// The RealAudio window against the fake engine: the title strip alone until
// the clip is known, the layout for it (or for the whole screen), where the
// window opens and what it stores when it closes, the play-state table, the
// keys, and every way it closes with what each leaves for the play loop.

#include "player/real_audio_window.h"

#include "app/reelbox_b.h"
#include "desktop/window_system.h"
#include "fakes/fake_engine.h"
#include "fakes/program_folder.h"
#include "media/real_audio.h"
#include "media/real_audio_views.h"
#include "player/real_audio_rules.h"
#include "player/window_player_factory.h"
#include "widgets/picture_label.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(RealAudioLayout, StacksStripPictureSliderAndStatusBar)
{
    const RealAudioLayout clip = LayOutForPicture({320, 240});
    EXPECT_EQ(clip.window, QSize(320, 306));
    EXPECT_EQ(clip.picture, QRect(0, 20, 320, 240));
    EXPECT_EQ(clip.slider, QRect(0, 260, 320, 21));
    EXPECT_EQ(clip.statusBar, QRect(0, 281, 320, 25));
    EXPECT_EQ(clip.exitLeft, 300);

    const QSize picture = FullScreenPictureSize({1024, 768});
    EXPECT_EQ(picture, QSize(1024, 702));
    EXPECT_EQ(LayOutForPicture(picture).window, QSize(1024, 768));
    EXPECT_EQ(LoadingWindowSize(), QSize(133, 20)); // 2000 x 300 twips
}

TEST(RealAudioStartPosition, StoredWhereVisibleElseCentred)
{
    const QRect primary(0, 0, 1280, 1024);
    const QRect right(1280, 0, 1024, 768);
    const QSize strip(133, 20);
    const QPoint centred(573, 335); // (19200 - 1995) \ 2 and (15360 - 300) \ 3 twips
    const struct
    {
        const char *why;
        QString top, left;
        QList<QRect> screens;
        QPoint expected;
    } rows[] = {
        {"nothing stored", "", "", {primary}, centred},
        {"only a left", "", " 300", {primary}, {20, 335}},
        {"both", " 4500", " 1500", {primary}, {100, 300}},
        {"a top that is no number", "high", " 1500", {primary}, {100, 335}},
        {"partly off the left edge", " 1500", "-600", {primary}, {-40, 100}},
        {"on the second screen", " 1500", " 22500", {primary, right}, {1500, 100}},
        {"that screen unplugged", " 1500", " 22500", {primary}, centred},
        {"below a smaller screen", " 30000", " 1500", {primary}, centred},
        {"half on the bottom edge: back in", " 15210", " 1500", {primary}, {100, 1004}},
        {"past the right edge: back in", " 1500", " 18000", {primary}, {1147, 100}},
        {"mostly off the bottom", " 15240", " 1500", {primary}, centred},
        {"past any coordinate", " 1e30", " 1500", {primary}, {100, 335}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(StartPosition(row.top, row.left, strip, primary, row.screens), row.expected) << row.why;
}

TEST(WindowSystem, WaylandKeepsWindowPositionsToItself)
{
    EXPECT_TRUE(ProgramsPlaceWindows(u"xcb"));
    EXPECT_TRUE(ProgramsPlaceWindows(u"offscreen"));
    EXPECT_FALSE(ProgramsPlaceWindows(u"wayland"));
    EXPECT_FALSE(ProgramsPlaceWindows(u"wayland-egl"));
}

class RealAudioWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clip_ = folder_.Write("clip.rm", "x");
        shared_.PlayFile = clip_;
        shared_.InPlayLoop = -1;
        engine_.SetPictureSize({320, 240});
    }
    std::unique_ptr<Reelbox_R> Load()
    {
        auto w = std::make_unique<Reelbox_R>(shared_, engine_);
        w->Form_Load();
        Deliver();
        return w;
    }
    // The clip opens and the window hears of it.
    void OpenClip()
    {
        engine_.FinishOpening();
        Deliver();
    }
    static void Deliver() { QCoreApplication::processEvents(); }
    QByteArray Settings() const { return folder_.Read("Reelbox.ini"); }
    QString Stored(const char *key) const
    {
        return ReadIniString("Section", QLatin1String(key), shared_.SettingsFile());
    }
    static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }
    static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    ProgramFolder folder_;
    QString clip_;
    Reelbox_B shared_{folder_.Path()};
    FakeEngine engine_;
};

TEST_F(RealAudioWindow, ShowsTheStripUntilTheClipThenLaysItselfOut)
{
    auto w = Load();
    EXPECT_EQ(w->size(), QSize(133, 20));
    EXPECT_EQ(w->lbl_msg->text(), "Connecting...");
    EXPECT_EQ(engine_.Calls(), QStringList{"Open " + clip_});
    EXPECT_FALSE(w->RealSC->isVisibleTo(w.get()));

    OpenClip();
    EXPECT_EQ(w->size(), QSize(320, 306));
    EXPECT_EQ(w->RealSC->geometry(), QRect(0, 20, 320, 240));
    EXPECT_EQ(w->Real_Pos->geometry(), QRect(0, 260, 320, 21));
    EXPECT_EQ(w->Realmain->geometry(), QRect(0, 281, 320, 25));
    EXPECT_EQ(w->ImgExit->x(), 300);
    EXPECT_EQ(w->Image1->width(), 320);
    EXPECT_TRUE(w->Realmain->isVisibleTo(w.get()));
    EXPECT_TRUE(w->RealSC->KeepsAspectRatio()); // identifier 291, at every layout
    EXPECT_EQ(engine_.VideoWidget()->parentWidget(), w->RealSC);
    EXPECT_EQ(w->lbl_msg->text(), "Playing... clip.rm");
    EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Playing);
}

TEST_F(RealAudioWindow, EachClipOfAMetafileLaysTheWindowOutAnew)
{
    shared_.PlayFile = folder_.Write("two.ram", "clip.rm\nsmall.rm\n");
    folder_.Write("small.rm", "x");
    auto w = Load();
    OpenClip();
    EXPECT_EQ(w->size(), QSize(320, 306));
    engine_.SetPictureSize({160, 120});
    engine_.FinishStream();
    Deliver();
    EXPECT_FALSE(w->Closed());
    OpenClip();
    EXPECT_EQ(w->size(), QSize(160, 186));
    engine_.SetPictureSize({}); // a sound-only clip keeps the last picture size
    engine_.FinishStream();
    Deliver();
    EXPECT_TRUE(w->Closed()) << "the last clip ended";
    EXPECT_FALSE(w->PlayedNothing());
}

TEST_F(RealAudioWindow, ASoundOnlyClipKeepsTheDesignPicture)
{
    engine_.SetPictureSize({});
    auto w = Load();
    OpenClip();
    EXPECT_EQ(w->RealSC->size(), QSize(209, 153));
    EXPECT_EQ(w->size(), QSize(209, 219));
}

// As the DirectShow window: the laid-out window lies on what panels leave of
// the screen, holds the picture at its proportions (centred where the strip
// and status bar need more width) and lays itself out again for a picture
// whose size comes late.
TEST_F(RealAudioWindow, FitsEveryPictureToTheScreenAndItsChrome)
{
    const QRect room = Available();
    const QSize big = QSize(1920, 1080).scaled(room.size() - QSize(0, 66), Qt::KeepAspectRatio);
    const struct
    {
        const char *why;
        QSize picture, later;
        QSize window;
        QRect shown; // RealSC's place
    } rows[] = {
        {"larger than the screen", {1920, 1080}, {}, big + QSize(0, 66), {QPoint(0, 20), big}},
        {"tiny", {64, 48}, {}, {0, 114}, {0, 20, 64, 48}},
        {"picture known late", {}, {320, 240}, {320, 306}, {0, 20, 320, 240}},
    };
    for (const auto &row : rows) {
        engine_.SetPictureSize(row.picture);
        auto w = Load();
        OpenClip();
        if (!row.later.isEmpty()) {
            engine_.ChangePicture(row.later);
            Deliver();
        }
        EXPECT_TRUE(room.contains(w->geometry())) << row.why << ": " << ::testing::PrintToString(w->geometry());
        EXPECT_LT(w->lbl_msg->geometry().right(), w->ImgExit->x()) << row.why << ": the text under the exit picture";
        const RealStatusBar *status = w->Realmain->StatusBar();
        EXPECT_GE(w->width(), status->WidthNeeded()) << row.why;
        if (row.window.width() == 0) { // as wide as the chrome needs, the picture centred
            EXPECT_GT(w->width(), row.picture.width()) << row.why;
            EXPECT_EQ(w->height(), row.window.height()) << row.why;
            EXPECT_EQ(w->RealSC->geometry(), row.shown.translated((w->width() - 64) / 2, 0)) << row.why;
        } else {
            EXPECT_EQ(w->size(), row.window) << row.why;
            EXPECT_EQ(w->RealSC->geometry(), row.shown) << row.why;
        }
        EXPECT_EQ(w->Realmain->width(), w->width()) << row.why;
    }
}

TEST_F(RealAudioWindow, FullScreenCoversTheScreenAndStoresNothing)
{
    shared_.PlaySource = 1;
    shared_.Full2 = 1;
    auto w = Load();
    EXPECT_EQ(w->pos(), Screen().topLeft());
    OpenClip();
    EXPECT_EQ(w->RealSC->size(), FullScreenPictureSize(Screen().size()));
    EXPECT_EQ(w->size(), Screen().size());
    EXPECT_EQ(w->pos(), Screen().topLeft());
    w->Form_KeyDown(Qt::Key_Escape);
    EXPECT_TRUE(Settings().isEmpty());
}

TEST_F(RealAudioWindow, WithNothingStoredItOpensCentredAndStoresItsPlaceOnClosing)
{
    auto w = Load();
    const QPoint strip = StartPosition("", "", QSize(133, 20), Available(), {Screen()});
    EXPECT_EQ(w->pos(), strip);
    EXPECT_EQ(w->x(), Available().x() + (Available().width() * 15 - 1995) / 2 / 15);
    OpenClip();
    const QPoint centred = StartPosition("", "", QSize(320, 306), Available(), {Screen()});
    EXPECT_EQ(w->pos(), centred) << "centred for the size it was laid out to";
    w->move(w->pos() + QPoint(10, 20)); // dragged meanwhile
    w->Form_KeyDown(Qt::Key_Control);
    EXPECT_EQ(Stored("rFormTop"), QString::number((centred.y() + 20) * 15));
    EXPECT_EQ(Stored("rFormLeft"), QString::number((centred.x() + 10) * 15));
    EXPECT_TRUE(Settings().contains("rFormTop= ")) << "stored with a leading blank";
    EXPECT_TRUE(Settings().contains("rFormLeft= "));
}

TEST_F(RealAudioWindow, AStoredLeftAloneGoesOverTheCentredPlace)
{
    WriteIniString("Section", "rFormLeft", " 300", shared_.SettingsFile());
    auto w = Load();
    EXPECT_EQ(w->x(), 20);
    EXPECT_EQ(w->y(), StartPosition("", "", QSize(133, 20), Available(), {Screen()}).y());
}

// Whether a stored place is seen is judged for the window laid out, not for
// the strip it opens as: a window left partly past an edge reopens there.
TEST_F(RealAudioWindow, AStoredPlaceIsJudgedForTheWindowAsLaidOut)
{
    const struct
    {
        const char *why;
        QString top, left;
        bool laidOutThere;
    } rows[] = {
        {"strip mostly past the left edge, window mostly on", " 1500", "-1500", true},
        {"strip half on the bottom edge, window almost all off", " 15210", " 1500", false},
    };
    for (const auto &row : rows) {
        WriteIniString("Section", "rFormTop", row.top, shared_.SettingsFile());
        WriteIniString("Section", "rFormLeft", row.left, shared_.SettingsFile());
        auto w = Load();
        OpenClip();
        const QPoint stored(StoredTwips(row.left).value() / 15, StoredTwips(row.top).value() / 15);
        const QPoint centred = StartPosition("", "", w->size(), Available(), {Screen()});
        EXPECT_EQ(w->pos(), row.laidOutThere ? stored : centred) << row.why;
    }
}

TEST_F(RealAudioWindow, APlaceOffEveryScreenIsNotUsedButKeptUntilClosing)
{
    WriteIniString("Section", "rFormTop", " 99000", shared_.SettingsFile());
    WriteIniString("Section", "rFormLeft", " 45000", shared_.SettingsFile());
    const QByteArray stored = Settings();
    auto w = Load();
    EXPECT_EQ(w->pos(), StartPosition("", "", QSize(133, 20), Available(), {Screen()}));
    OpenClip();
    EXPECT_EQ(Settings(), stored) << "the keys changed before the window closed";
    w->Form_KeyDown(Qt::Key_Escape);
    EXPECT_EQ(Stored("rFormTop"), QString::number(w->y() * 15));
}

TEST_F(RealAudioWindow, PlayStatesShowTheirTextAndOthersChangeNothing)
{
    auto w = Load();
    OpenClip();
    const struct
    {
        qint32 state;
        const char *text;
    } rows[] = {{1, "Connecting..."}, {2, "Buffering..."}, {3, "Playing... clip.rm"}, {4, "Pause"}, {5, "Seeking"},
                {7, "Seeking"},       {-1, "Seeking"}};
    for (const auto &row : rows) {
        w->Realmain_OnPlayStateChange(row.state);
        EXPECT_EQ(w->lbl_msg->text(), row.text) << row.state;
    }
    EXPECT_FALSE(w->Closed());
}

TEST_F(RealAudioWindow, AltPausesWhileBufferingAndResumesFromPause)
{
    auto w = Load();
    OpenClip();
    engine_.SetBuffering(true);
    Deliver();
    ASSERT_EQ(w->lbl_msg->text(), "Buffering...");
    engine_.ClearCalls();
    w->Form_KeyDown(Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Pause");
    EXPECT_EQ(engine_.Calls(), QStringList{"Pause"});
    w->Form_KeyDown(Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Playing... clip.rm");
    EXPECT_EQ(engine_.Calls().last(), "Run");
    w->Form_KeyDown(Qt::Key_Left); // no seeking from the keyboard here
    EXPECT_EQ(engine_.Calls().last(), "Run");
}

TEST_F(RealAudioWindow, AStopBeforeTheClipClosesAndTheLoopGoesOn)
{
    auto w = Load();
    ASSERT_EQ(w->lbl_msg->text(), "Connecting...");
    engine_.FailLoad();
    OpenClip();
    EXPECT_TRUE(w->Closed());
    EXPECT_EQ(w->lbl_msg->text(), "Stop");
    EXPECT_EQ(shared_.StopPlay, 0);
    EXPECT_TRUE(w->PlayedNothing());
}

struct CloseRow
{
    const char *cause;
    std::function<void(Reelbox_R &, FakeEngine &)> act;
    const char *message; // nullptr: unchanged
    qint16 stopPlay;
};

TEST_F(RealAudioWindow, EveryWayOfClosingTellsTheLoopWhatToDo)
{
    const CloseRow rows[] = {
        {"end of stream", [](Reelbox_R &, FakeEngine &e) { e.FinishStream(); }, "Stop", 0},
        {"broken stream", [](Reelbox_R &, FakeEngine &e) { e.FailPlayback(); }, "Stop", 0},
        {"Ctrl", [](Reelbox_R &w, FakeEngine &) { w.Form_KeyDown(Qt::Key_Control); }, "Unloading", 0},
        {"Esc", [](Reelbox_R &w, FakeEngine &) { w.Form_KeyDown(Qt::Key_Escape); }, "Unloading", -1},
        {"Space", [](Reelbox_R &w, FakeEngine &) { w.Form_KeyDown(Qt::Key_Space); }, "Unloading", -1},
        {"exit picture",
         [](Reelbox_R &w, FakeEngine &) {
             w.ImgExit_MouseUp();
             w.ImgExit_Click();
         },
         nullptr, -1},
    };
    for (const CloseRow &row : rows) {
        shared_.StopPlay = 0;
        auto w = Load();
        OpenClip();
        const QString before = w->lbl_msg->text();
        row.act(*w, engine_);
        Deliver();
        EXPECT_TRUE(w->Closed()) << row.cause;
        EXPECT_EQ(w->lbl_msg->text(), row.message ? QString(row.message) : before) << row.cause;
        EXPECT_EQ(shared_.StopPlay, row.stopPlay) << row.cause;
        EXPECT_FALSE(w->PlayedNothing()) << row.cause;
        w.reset();
        EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Empty) << row.cause << ": the clip ends with the window";
    }
}

TEST_F(RealAudioWindow, KeysReachTheWindowWhileItShows)
{
    auto w = Load();
    OpenClip();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    ASSERT_EQ(QApplication::focusWidget(), w.get());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    EXPECT_EQ(w->lbl_msg->text(), "Pause");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(w->Closed());
    EXPECT_EQ(shared_.StopPlay, -1);
}

// The factory shows this window for the RealAudio names; a file that cannot
// be played at all says so, so that a repeat of it ends.
TEST_F(RealAudioWindow, TheFactoryShowsItAndTellsAFileThatCannotPlay)
{
    WindowPlayerFactory players(shared_, &engine_);
    const struct
    {
        bool fails;
        bool played;
    } rows[] = {{false, true}, {true, false}};
    for (const auto &row : rows) {
        QTimer::singleShot(0, &engine_, [this, &row] {
            if (row.fails)
                engine_.FailLoad();
            engine_.FinishOpening();
            engine_.FinishStream();
        });
        EXPECT_EQ(players.ShowModal(PlayerWindow::RealAudio, nullptr), row.played) << row.fails;
        EXPECT_EQ(engine_.PlayState(), PlaybackEngine::State::Empty);
    }
}

} // namespace
