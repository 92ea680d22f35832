// MpvEngine against real files made by ffmpeg: every format the player window
// is given, a sound-only file, a missing file and a garbage file; then the
// picture itself, drawn into a shown window.

#include "platform/media/mpv_engine.h"
#include "platform/media_clips.h"

#include <QDialog>
#include <algorithm>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using State = PlaybackEngine::State;

// Plays as fast as it decodes, without drawing: the format tests need no picture.
MpvEngineOptions Untimed() { return {.drawVideo = false, .untimed = true}; }

struct FormatCase
{
    QString file;       // a clip of PlayerClips(), or "missing" / "garbage"
    bool plays = true;
    QSize picture{320, 240};
};

void PrintTo(const FormatCase &row, std::ostream *out) { *out << row.file.toStdString(); }

QString PathOf(const FormatCase &row)
{
    if (row.file == "missing")
        return MediaClips::Missing();
    if (row.file == "garbage")
        return MediaClips::Garbage();
    return MediaClips::Path(row.file);
}

} // namespace

class MpvEngineFormat : public ::testing::TestWithParam<FormatCase>
{
};

// Load, length, size, seeking, the end of the stream and a second arrival at
// it; or, for files that cannot play, the failure and an empty engine.
TEST_P(MpvEngineFormat, LoadsSeeksAndPlaysToTheEnd)
{
    const FormatCase &row = GetParam();
    const QString path = PathOf(row);
    ASSERT_FALSE(path.isEmpty()) << MediaClips::Error().toStdString();

    MpvEngine engine(Untimed());
    ASSERT_TRUE(engine.IsUsable());
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    QSignalSpy failures(&engine, &PlaybackEngine::Failed);

    ASSERT_EQ(engine.Load(path), row.plays);
    if (!row.plays) {
        EXPECT_EQ(failures.count(), 1);
        EXPECT_EQ(engine.PlayState(), State::Empty);
        EXPECT_EQ(engine.Duration(), 0);
        EXPECT_TRUE(engine.PictureSize().isEmpty());
        engine.Run(); // nothing to run: stays empty, no further signal
        EXPECT_EQ(engine.PlayState(), State::Empty);
        EXPECT_EQ(failures.count(), 1);
        return;
    }
    EXPECT_EQ(failures.count(), 0);
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    EXPECT_NEAR(engine.Duration(), 1.0, 0.1);
    EXPECT_EQ(engine.PictureSize(), row.picture);
    EXPECT_EQ(engine.Position(), 0);

    engine.Seek(0.5);
    EXPECT_EQ(engine.Position(), 0.5); // the target, before mpv has got there
    engine.Seek(99);
    EXPECT_EQ(engine.Position(), engine.Duration()); // clamped to the file

    engine.Seek(0.25);
    engine.Run();
    EXPECT_EQ(engine.PlayState(), State::Playing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    EXPECT_EQ(engine.Position(), engine.Duration());
    EXPECT_EQ(engine.PictureSize(), row.picture); // the file stays open at its end

    // Back from the end: the end is left, and reached once more.
    engine.Seek(0);
    EXPECT_EQ(engine.Position(), 0);
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 1; }));
    EXPECT_EQ(ends.count(), 2);
    EXPECT_EQ(failures.count(), 0);

    engine.Unload();
    EXPECT_EQ(engine.PlayState(), State::Empty);
    EXPECT_EQ(engine.Duration(), 0);
    EXPECT_EQ(engine.Position(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    MpvEngine, MpvEngineFormat,
    ::testing::Values(FormatCase{"clip.avi"}, FormatCase{"clip.divx"}, FormatCase{"clip.wmv"},
                      FormatCase{"clip.asf"}, FormatCase{"clip.mpg"}, FormatCase{"clip.dat"},
                      FormatCase{"clip.rm"}, FormatCase{"clip.rmvb"},
                      FormatCase{"tone.wav", true, QSize()}, FormatCase{"missing", false},
                      FormatCase{"garbage", false}),
    [](const auto &info) {
        QString name = info.param.file;
        return name.replace('.', '_').toStdString();
    });

// One engine through a sequence of files: each Load replaces the file before
// it, late news about an earlier file is not taken for the current one, a
// failed file leaves the engine ready for the next, and Pause and Stop hold
// the file open at its place without ending the stream.
TEST(MpvEngine, ReplacesFilesAndRecoversFromFailures)
{
    MpvEngine engine(Untimed());
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    QSignalSpy failures(&engine, &PlaybackEngine::Failed);

    ASSERT_TRUE(engine.Load(MediaClips::Path("clip.avi")));
    engine.Run(); // playing when replaced
    ASSERT_TRUE(engine.Load(MediaClips::Path("tone.wav")));
    EXPECT_TRUE(engine.PictureSize().isEmpty());
    EXPECT_EQ(engine.PlayState(), State::Stopped);

    EXPECT_FALSE(engine.Load(MediaClips::Missing()));
    EXPECT_EQ(failures.count(), 1);
    EXPECT_FALSE(engine.Load(MediaClips::Garbage()));
    EXPECT_EQ(failures.count(), 2);

    ASSERT_TRUE(engine.Load(MediaClips::Path("clip.wmv")));
    EXPECT_EQ(engine.PictureSize(), QSize(320, 240));
    engine.Seek(0.4);
    engine.Pause();
    EXPECT_EQ(engine.PlayState(), State::Paused);
    engine.Stop();
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    EXPECT_EQ(engine.Position(), 0.4);
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(failures.count(), 2);
}

namespace {

// The engine's states in the order it announced them (each change once).
struct StateLog
{
    explicit StateLog(PlaybackEngine &engine)
    {
        QObject::connect(&engine, &PlaybackEngine::StateChanged, [this, &engine] {
            if (states.isEmpty() || states.last() != engine.PlayState())
                states.append(engine.PlayState());
            seeking = seeking || engine.Seeking();
        });
        QObject::connect(&engine, &PlaybackEngine::PositionChanged, [this](double s) { positions.append(s); });
    }
    QList<State> states;
    QList<double> positions;
    bool seeking = false;
};

} // namespace

// Opening in the background: the caller goes on at once and hears Opened
// with the size and length readable; states and positions are announced as
// they change, up to the end of the stream.
TEST(MpvEngine, OpensInTheBackgroundAndAnnouncesStatesAndPositions)
{
    MpvEngine engine(Untimed());
    StateLog log(engine);
    QSignalSpy opened(&engine, &PlaybackEngine::Opened);
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);

    engine.Open(MediaClips::Path("clip.rm"));
    EXPECT_EQ(engine.PlayState(), State::Opening);
    EXPECT_EQ(opened.count(), 0) << "opened inside Open";
    EXPECT_TRUE(engine.PictureSize().isEmpty());
    engine.Run(); // nothing to run yet
    EXPECT_EQ(engine.PlayState(), State::Opening);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.count() == 1; }));
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    EXPECT_EQ(engine.PictureSize(), QSize(320, 240));
    EXPECT_NEAR(engine.Duration(), 1.0, 0.1);

    engine.Seek(0.5);
    EXPECT_TRUE(engine.Seeking());
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() == 1; }));
    EXPECT_EQ(log.states, (QList<State>{State::Opening, State::Stopped, State::Playing, State::Stopped}));
    EXPECT_TRUE(log.seeking);
    ASSERT_FALSE(log.positions.isEmpty());
    EXPECT_EQ(log.positions.first(), 0.5); // the seek's target, at once
    EXPECT_EQ(log.positions.last(), engine.Duration());
    EXPECT_TRUE(std::is_sorted(log.positions.begin(), log.positions.end()));

    engine.Unload();
    EXPECT_EQ(log.states.last(), State::Empty);
    EXPECT_EQ(log.positions.last(), 0);
}

// An open given up for another, or for nothing, is never reported; a file
// that cannot be opened is reported as failed, not opened.
TEST(MpvEngine, AnOpenReplacedOrFailedIsNeverReportedAsOpened)
{
    MpvEngine engine(Untimed());
    QSignalSpy opened(&engine, &PlaybackEngine::Opened);
    QSignalSpy failures(&engine, &PlaybackEngine::Failed);

    engine.Open(MediaClips::Path("clip.avi"));
    engine.Open(MediaClips::Path("tone.wav"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.count() > 0; }));
    QTest::qWait(100); // time for a stray report of the first
    EXPECT_EQ(opened.count(), 1);
    EXPECT_TRUE(engine.PictureSize().isEmpty()) << "the replaced clip's picture was reported";

    engine.Open(MediaClips::Path("clip.avi"));
    engine.Unload();
    engine.Open(MediaClips::Missing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.count() > 0; }));
    QTest::qWait(100);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(failures.count(), 1);
    EXPECT_EQ(engine.PlayState(), State::Empty);
}

namespace {

// Reads the colour at `point` of `widget` from the X server's screen, which is
// what the user sees (a widget's own framebuffer can differ from it).
QColor OnScreen(QWidget *widget, QPoint point)
{
    const QPoint global = widget->mapToGlobal(point);
    return widget->screen()->grabWindow(0, global.x(), global.y(), 1, 1).toImage().pixelColor(0, 0);
}

// A 320 x 240 window for reading the screen, kept above others, along the
// bottom edge where other tests' (centred) windows do not reach; each test
// takes its own `slot` (0-2), so tests run side by side do not cover each other.
void PlaceForScreenReading(QWidget &window, int slot)
{
    window.setWindowFlag(Qt::WindowStaysOnTopHint);
    window.setGeometry(QRect(QPoint(slot * 320, 760), QSize(320, 240)));
}

bool IsRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool IsBlue(QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }

// A clip whose picture is red above and blue below, to tell up from down.
QString UpDownClip()
{
    return MediaClips::Custom("updown.avi",
                              "color=red:size=320x240:rate=25:duration=1,"
                              "drawbox=x=0:y=120:w=320:h=120:color=blue:t=fill",
                              {"-c:v", "mpeg4", "-q:v", "2", "-c:a", "libmp3lame", "-f", "avi"});
}

} // namespace

// The window's case: load before the window is shown and read the size and
// length at once; once shown the picture reaches the screen upright (red
// above blue). It can then move into another top-level window (as when a new
// window is made per file) and show there, and the stream ends.
TEST(MpvEngine, ShowsThePictureUprightAndFollowsItIntoAnotherWindow)
{
    const QString path = UpDownClip();
    ASSERT_FALSE(path.isEmpty()) << MediaClips::Error().toStdString();
    QDialog first, second;
    PlaceForScreenReading(first, 0);
    PlaceForScreenReading(second, 1);
    MpvEngine engine;
    QWidget *picture = engine.VideoWidget();
    picture->setParent(&first);
    picture->setGeometry(0, 0, 320, 240);
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);

    ASSERT_TRUE(engine.Load(path));
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(engine.PictureSize(), QSize(320, 240));
    EXPECT_NEAR(engine.Duration(), 1.0, 0.1);
    first.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > 0; })); // paused at the start
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }))
        << "top shows " << OnScreen(picture, {160, 40}).name().toStdString();
    EXPECT_TRUE(IsBlue(OnScreen(picture, {160, 200})))
        << "bottom shows " << OnScreen(picture, {160, 200}).name().toStdString();

    picture->setParent(&second);
    picture->setGeometry(0, 0, 320, 240);
    picture->show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }));
    EXPECT_TRUE(IsBlue(OnScreen(picture, {160, 200})));
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
}

// libmpv, its core and its OpenGL started on a thread of their own (as the
// program does while its window is idle) make an engine that shows the
// picture upright like one started on the spot; a start nobody takes is
// taken down cleanly.
TEST(MpvEngine, AnEngineStartedInTheBackgroundShowsItsPicture)
{
    { MpvBackgroundStart unused{MpvEngineOptions{}}; }
    MpvBackgroundStart start{MpvEngineOptions{}};
    MpvEngine engine(start.Take(), start.Options());
    ASSERT_TRUE(engine.IsUsable());
    QDialog window;
    PlaceForScreenReading(window, 0);
    QWidget *picture = engine.VideoWidget();
    picture->setParent(&window);
    picture->setGeometry(0, 0, 320, 240);
    ASSERT_TRUE(engine.Load(UpDownClip()));
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > 0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }));
    EXPECT_TRUE(IsBlue(OnScreen(picture, {160, 200})));
}

// The picture's owner may delete it: the engine then makes a new picture,
// in which the open file shows again; deleting the engine while the picture
// is on screen is safe too.
TEST(MpvEngine, SurvivesEitherSideBeingDeletedFirst)
{
    auto engine = std::make_unique<MpvEngine>();
    {
        QDialog window;
        PlaceForScreenReading(window, 2);
        engine->VideoWidget()->setParent(&window);
        engine->VideoWidget()->setGeometry(0, 0, 320, 240);
        ASSERT_TRUE(engine->Load(UpDownClip()));
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine->FramesDrawn() > 0; }));
    } // the window deletes the picture while the file is open
    const int before = engine->FramesDrawn();
    QDialog window;
    PlaceForScreenReading(window, 2);
    QPointer<QWidget> picture = engine->VideoWidget();
    ASSERT_TRUE(picture);
    picture->setParent(&window);
    picture->setGeometry(0, 0, 320, 240);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->FramesDrawn() > before; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }));
    EXPECT_EQ(engine->PictureSize(), QSize(320, 240));
    engine->Run();
    engine.reset(); // while playing, with the picture on screen
    EXPECT_FALSE(picture);
}
