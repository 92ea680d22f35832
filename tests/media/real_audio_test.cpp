// The RealAudio control against the fake engine: three instances bound by
// their console name into one player, the dispatch table, the play-state
// numbers from the engine's states, metafiles played clip after clip, the
// slider seeking and the status bar, the slider as a screen reader finds it,
// and the notifications always arriving from the event loop.

#include "media/real_audio.h"

#include "fakes/fake_engine.h"
#include "fakes/program_folder.h"
#include "media/real_audio_views.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using State = PlaybackEngine::State;

TEST(RealPlayState, FollowsTheEngine)
{
    const struct
    {
        State state;
        bool buffering, seeking;
        std::optional<qint32> expected;
    } rows[] = {
        {State::Empty, false, false, std::nullopt},
        {State::Opening, false, false, 1},
        {State::Stopped, false, false, std::nullopt},
        {State::Playing, false, false, 3},
        {State::Paused, false, false, 4},
        {State::Playing, true, false, 2},
        {State::Paused, true, false, 2},
        {State::Playing, false, true, 5},
        {State::Paused, true, true, 5},
        {State::Stopped, true, true, std::nullopt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(RealPlayStateOf(row.state, row.buffering, row.seeking), row.expected)
            << int(row.state) << row.buffering << row.seeking;
}

TEST(RealSource, NamesItsClips)
{
    ProgramFolder folder;
    const QString ram = folder.Write("two.ram", "a.rm\r\nb.rm\r\n");
    const struct
    {
        QString source;
        QStringList clips;
    } rows[] = {
        {"file:///v/a #1 %20?.rm", {"/v/a #1 %20?.rm"}}, // byte for byte: no decoding
        {"file://" + ram, {folder.FilePath("a.rm"), folder.FilePath("b.rm")}},
        {"FILE://" + ram, {folder.FilePath("a.rm"), folder.FilePath("b.rm")}},
        {"http://example.com/x.ram", {"http://example.com/x.ram"}},
        {"av://lavfi:testsrc", {}}, // the engine's own protocols are no source
        {"/v/plain.rm", {"/v/plain.rm"}},
        {"file://", {}},
        {"", {}},
    };
    for (const auto &row : rows) {
        QStringList clips;
        for (const MetafileEntry &entry : ClipsOfSource(row.source))
            clips << entry.source;
        EXPECT_EQ(clips, row.clips) << row.source.toStdString();
    }
}

// A window holding the three bound instances, as the player window does.
class BoundControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto [control, part] : {std::pair{&picture_, "imagewindow"}, std::pair{&slider_, "PositionSlider"},
                                     std::pair{&status_, "StatusBar"}}) {
            *control = new RealAudio(engine_, &window_);
            (*control)->SetControls(part);
            (*control)->SetConsole("player");
            (*control)->SetBackgroundColor("#000000");
        }
        picture_->setGeometry(0, 20, 320, 240);
        slider_->setGeometry(0, 260, 320, 21);
        status_->setGeometry(0, 281, 320, 25);
        QObject::connect(status_, &RealAudio::PlayStateChange, [this](qint32 s) { states_ << s; });
        QObject::connect(status_, &RealAudio::ClipOpened,
                         [this](const QString &title, const QString &) { clips_ << title; });
    }
    void Deliver() { QCoreApplication::processEvents(); }
    void Play(const QString &source)
    {
        ASSERT_TRUE(status_->PropertyPut(102, source));
        ASSERT_TRUE(status_->Call(257));
    }

    FakeEngine engine_;
    QWidget window_;
    RealAudio *picture_ = nullptr, *slider_ = nullptr, *status_ = nullptr;
    QList<qint32> states_;
    QStringList clips_;
    ProgramFolder folder_;
};

TEST_F(BoundControls, ShareOnePlayerAndItsNotificationsComeFromTheEventLoop)
{
    Play("file:///v/clip #1 %20.rm");
    EXPECT_EQ(picture_->Source(), "file:///v/clip #1 %20.rm") << "one player behind every instance";
    EXPECT_EQ(engine_.Calls(), QStringList{"Open /v/clip #1 %20.rm"});
    EXPECT_EQ(status_->PropertyGet(265), std::nullopt) << "no size before the clip opened";
    engine_.SetPictureSize({320, 240});
    engine_.FinishOpening();
    EXPECT_TRUE(states_.isEmpty() && clips_.isEmpty()) << "notified inside the call";
    Deliver();
    EXPECT_EQ(clips_, QStringList{"clip #1 %20.rm"});
    EXPECT_EQ(states_, (QList<qint32>{1, 3}));
    EXPECT_EQ(status_->PropertyGet(265), QVariant(320));
    EXPECT_EQ(status_->PropertyGet(266), QVariant(240));
    EXPECT_EQ(engine_.VideoWidget()->parentWidget(), picture_);
    EXPECT_EQ(engine_.VideoWidget()->geometry(), QRect(0, 0, 320, 240));

    // Commands reach the one player from whichever instance.
    ASSERT_TRUE(picture_->Call(258));
    EXPECT_EQ(engine_.PlayState(), State::Paused);
    ASSERT_TRUE(slider_->Call(257));
    EXPECT_EQ(engine_.PlayState(), State::Playing);

    // An instance of another console is a player of its own.
    RealAudio other(engine_, &window_);
    other.SetConsole("another");
    EXPECT_EQ(other.Source(), "");
}

TEST_F(BoundControls, DispatchIdentifiersReachOnlyTheirMembers)
{
    EXPECT_EQ(status_->Invoke(102, RealAudio::InvokeKind::PropertyPut, "file:///a.rm"), QVariant());
    EXPECT_EQ(status_->Invoke(102, RealAudio::InvokeKind::PropertyGet), QVariant("file:///a.rm"));
    EXPECT_EQ(status_->Invoke(257, RealAudio::InvokeKind::PropertyGet), std::nullopt);
    EXPECT_EQ(status_->Invoke(999, RealAudio::InvokeKind::Method), std::nullopt);
    EXPECT_FALSE(picture_->KeepsAspectRatio());
    EXPECT_TRUE(picture_->Call(291));
    EXPECT_TRUE(picture_->KeepsAspectRatio());
}

TEST_F(BoundControls, StatesFollowTheEngineAndSevenIsNeverTold)
{
    Play("file:///v/a.rm");
    engine_.FinishOpening();
    engine_.SetBuffering(true);
    engine_.SetBuffering(false);
    engine_.SetSeeking(true);
    engine_.SetSeeking(false);
    ASSERT_TRUE(status_->Call(258));
    ASSERT_TRUE(status_->Call(257));
    Deliver();
    EXPECT_EQ(states_, (QList<qint32>{1, 3, 2, 3, 5, 3, 4, 3}));
    EXPECT_EQ(status_->StatusBar()->StateText(), "Playing");
}

TEST_F(BoundControls, APauseWhileConnectingOpensTheClipPaused)
{
    Play("file:///v/a.rm");
    ASSERT_TRUE(status_->Call(258));
    engine_.FinishOpening();
    Deliver();
    EXPECT_EQ(engine_.PlayState(), State::Paused);
    EXPECT_EQ(states_, (QList<qint32>{1, 4}));
}

TEST_F(BoundControls, AMetafilePlaysItsClipsOneAfterTheOtherThenStops)
{
    const QString ram = folder_.Write("list.ram", "# two clips\r\na.rm\r\n\r\nb.rm?start=2&end=7\r\n");
    Play("file://" + ram);
    EXPECT_EQ(engine_.Calls().last(), "Open " + folder_.FilePath("a.rm"));
    engine_.FinishOpening();
    engine_.FinishStream();
    EXPECT_EQ(engine_.Calls().last(), "Open " + folder_.FilePath("b.rm"));
    engine_.SetDuration(20);
    engine_.FinishOpening();
    EXPECT_TRUE(engine_.Calls().contains("Seek 2")) << "the second clip starts at its start time";
    EXPECT_EQ(engine_.Position(), 2);
    engine_.Advance(4.9);
    EXPECT_EQ(engine_.PlayState(), State::Playing);
    engine_.Advance(0.2); // past its end time: the clip is done, and so is the list
    Deliver();
    EXPECT_EQ(clips_, (QStringList{"a.rm", "b.rm"}));
    EXPECT_EQ(states_, (QList<qint32>{1, 3, 1, 3, 0}));
}

TEST_F(BoundControls, WithNothingPlayableThePlayerStops)
{
    const QString empty = folder_.Write("empty.ram", "# nothing\r\n\r\n");
    const QString broken = folder_.Write("broken.ram", "gone.rm\nalso gone.rm\n");
    const struct
    {
        QString source;
        int failures; // clips the engine fails to open
    } rows[] = {{"file://" + empty, 0},
                {"file://" + folder_.FilePath("absent.ram"), 0},
                {"file://" + broken, 2},
                {"file:///v/unplayable.rm", 1}};
    for (const auto &row : rows) {
        states_.clear();
        Play(row.source);
        for (int i = 0; i < row.failures; ++i) {
            engine_.FailLoad();
            engine_.FinishOpening();
        }
        Deliver();
        EXPECT_FALSE(states_.isEmpty()) << row.source.toStdString();
        EXPECT_EQ(states_.last(), 0) << row.source.toStdString();
        EXPECT_TRUE(clips_.isEmpty()) << row.source.toStdString();
    }
}

TEST_F(BoundControls, TheSliderSeeksAndTheStatusBarShowsTheTime)
{
    window_.show();
    engine_.SetDuration(100);
    Play("file:///v/a.rm");
    engine_.FinishOpening();
    engine_.Advance(61.5);
    EXPECT_EQ(status_->StatusBar()->TimeText(), "1:01 / 1:40");
    slider_->resize(200 + SliderThumbWidth, 21); // 2 pixels a percent
    RealPositionSlider *slider = slider_->Slider();
    ASSERT_NE(slider, nullptr);
    const int start = SliderThumbWidth / 2; // the thumb's middle at 0
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(start + 50, 10));
    EXPECT_EQ(engine_.Position(), 25);
    QTest::mouseMove(slider, QPoint(start + 100, 10));
    EXPECT_EQ(engine_.Position(), 50);
    engine_.Advance(1); // playback does not take the thumb from the user
    EXPECT_EQ(slider->ThumbLeft(), 100);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(0, 10));
    EXPECT_EQ(engine_.Position(), 0);
    EXPECT_FALSE(slider->Dragging());
    engine_.Advance(10);
    EXPECT_EQ(slider->ThumbLeft(), 20) << "the thumb follows playback again";
}

TEST_F(BoundControls, ThePlayerEndsWithTheInstancesAndHandsThePictureBack)
{
    Play("file:///v/a.rm");
    engine_.FinishOpening();
    QWidget *picture = engine_.VideoWidget();
    delete picture_;
    delete slider_;
    EXPECT_EQ(picture->parentWidget(), nullptr);
    EXPECT_EQ(engine_.PlayState(), State::Playing) << "the player lives while one instance does";
    delete status_;
    EXPECT_EQ(engine_.PlayState(), State::Empty);
    Deliver();
    EXPECT_FALSE(states_.contains(0)) << "closing with the window is not the end of the clip";
}

TEST(RealStatusText, ShowsTimesAndStates)
{
    EXPECT_EQ(StatusTimeText(0, 0), "0:00");
    EXPECT_EQ(StatusTimeText(5.9, 83), "0:05 / 1:23");
    EXPECT_EQ(StatusTimeText(3725, 7200), "1:02:05 / 2:00:00");
    EXPECT_EQ(StatusStateText(1), "Contacting...");
    EXPECT_EQ(StatusStateText(7), "");
}

// Each test runs in a process of its own, so this slider is the process's
// first RealAudio view: its interface must already come from the RealAudio
// factory, although the slider is named (and its interface looked up) while
// it is being made.
TEST(RealAudioScreenReaders, TheFirstPositionSliderReadsAsASlider)
{
    RealPositionSlider slider;
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(&slider);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->role(), QAccessible::Slider);
    EXPECT_EQ(read->text(QAccessible::Name), "再生位置");
    EXPECT_NE(read->valueInterface(), nullptr);
}

} // namespace
