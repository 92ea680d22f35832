// MpvEngine against real files made by ffmpeg: every format the player window
// is given, a sound-only file, a missing file, a garbage file, a device and an
// engine protocol; pictures as they are shown (non-square pixels, rotation, a
// size only the decoder knows), a length only known at the end, a file that
// takes long to probe; then the picture itself, drawn into a shown window.

#include "media/mpv_engine.h"

#include "media/media_clips.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using State = PlaybackEngine::State;

// Plays as fast as it decodes, without drawing: the format tests need no picture.
MpvEngineOptions Untimed()
{
    return {.drawVideo = false, .untimed = true};
}

struct FormatCase
{
    QString file; // a clip of PlayerClips(), or "missing" / "garbage" / "protocol" / "device"
    bool plays = true;
    QSize picture{320, 240};
};

void PrintTo(const FormatCase &row, std::ostream *out)
{
    *out << row.file.toStdString();
}

QString PathOf(const FormatCase &row)
{
    if (row.file == "missing")
        return MediaClips::Missing();
    if (row.file == "garbage")
        return MediaClips::Garbage();
    if (row.file == "protocol") // mpv's own filter-graph protocol, as a list entry could name it
        return QStringLiteral("av://lavfi:testsrc=size=320x240");
    if (row.file == "device") // read for ever, were it opened
        return QStringLiteral("/dev/zero");
    return MediaClips::Path(row.file);
}

} // namespace

class MpvEngineFormat : public ::testing::TestWithParam<FormatCase>
{
};

// Load, length, size, seeking, the end of the stream, a second arrival at it
// and a third by a seek while paused; or, for files that cannot play, the failure and an empty engine.
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

    // A paused file sought to its length is at its end too, not at its last frame.
    engine.Seek(0.5);
    engine.Pause();
    engine.Seek(engine.Duration());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 2; }));
    EXPECT_EQ(engine.Position(), engine.Duration());
    EXPECT_EQ(failures.count(), 0);

    engine.Unload();
    EXPECT_EQ(engine.PlayState(), State::Empty);
    EXPECT_EQ(engine.Duration(), 0);
    EXPECT_EQ(engine.Position(), 0);
}

INSTANTIATE_TEST_SUITE_P(MpvEngine, MpvEngineFormat,
                         ::testing::Values(FormatCase{"clip.avi"}, FormatCase{"clip.divx"}, FormatCase{"clip.wmv"},
                                           FormatCase{"clip.asf"}, FormatCase{"clip.mpg"}, FormatCase{"clip.dat"},
                                           FormatCase{"clip.rm"}, FormatCase{"clip.rmvb"},
                                           FormatCase{"tone.wav", true, QSize()}, FormatCase{"missing", false},
                                           FormatCase{"garbage", false}, FormatCase{"protocol", false},
                                           FormatCase{"device", false}),
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
    EXPECT_EQ(engine.Volume(), 1);
    engine.SetVolume(0.25); // before any file: kept for all of them

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
    EXPECT_EQ(engine.Volume(), 0.25);
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

bool IsRed(QColor c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool IsBlue(QColor c)
{
    return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}

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
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return IsRed(OnScreen(picture, {160, 40}));
    })) << "top shows "
        << OnScreen(picture, {160, 40}).name().toStdString();
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
    {
        MpvBackgroundStart unused{MpvEngineOptions{}};
    }
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

// A seek made the moment a file has opened (a metafile's start time) is
// carried out every time: playback goes on from there, never from the start.
TEST(MpvEngine, ASeekAsSoonAsTheFileOpensIsCarriedOut)
{
    MpvEngine engine(Untimed());
    for (int run = 0; run < 5; ++run) {
        QList<double> played; // positions reported after opening, once no seek is pending
        bool opened = false;
        QObject::connect(
            &engine, &PlaybackEngine::Opened, &engine,
            [&] {
                opened = true;
                engine.Seek(0.6);
                engine.Run();
            },
            Qt::SingleShotConnection);
        const auto log = QObject::connect(&engine, &PlaybackEngine::PositionChanged, &engine, [&](double s) {
            if (opened && !engine.Seeking())
                played.append(s);
        });
        QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
        engine.Open(MediaClips::Path("clip.avi"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; })) << "run " << run;
        QObject::disconnect(log);
        ASSERT_FALSE(played.isEmpty());
        EXPECT_GE(played.first(), 0.55) << "run " << run << " played from the start";
    }
}

// A file opened at a later start stands there from the moment it opens (the
// player's times show it) and plays from there; a start past its end stops
// at the end.
TEST(MpvEngine, AFileOpenedAtALaterStartPlaysFromThere)
{
    MpvEngine engine(Untimed());
    const QString clip = MediaClips::Path("clip.avi");
    ASSERT_TRUE(engine.Load(clip, 0.6));
    EXPECT_DOUBLE_EQ(engine.Position(), 0.6);
    EXPECT_FALSE(engine.Seeking());
    QList<double> played;
    const auto log =
        QObject::connect(&engine, &PlaybackEngine::PositionChanged, &engine, [&](double s) { played.append(s); });
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    QObject::disconnect(log);
    ASSERT_FALSE(played.isEmpty());
    EXPECT_GE(*std::min_element(played.begin(), played.end()), 0.55) << "played from the start";

    ASSERT_TRUE(engine.Load(clip, 1000));
    EXPECT_DOUBLE_EQ(engine.Position(), engine.Duration());
}

namespace {

// Clips whose picture shows at another size than stored, or whose container
// does not tell the size at all.
QString ShownSizeClip(const QString &name)
{
    const QString source = QStringLiteral("testsrc=size=%1:rate=25:duration=1");
    if (name == "mp4 named avi") // MPEG-4 Part 2 in MP4: the size comes from the first frame
        return MediaClips::Custom("mp4.avi", source.arg("256x192"), {"-c:v", "mpeg4", "-f", "mp4"});
    if (name == "matroska named avi")
        return MediaClips::Custom("mkv.avi", source.arg("192x144"), {"-c:v", "mpeg4", "-f", "matroska"});
    if (name == "16:9 dvd")
        return MediaClips::Custom("dvd.avi", source.arg("720x480"),
                                  {"-c:v", "mpeg2video", "-aspect", "16:9", "-c:a", "mp2", "-f", "mpeg"});
    if (name == "rotated phone clip")
        return MediaClips::Remux(
            "rotated.mp4", MediaClips::Custom("upright.mp4", source.arg("320x180"), {"-c:v", "mpeg4", "-f", "mp4"}),
            {"-c", "copy", "-metadata:s:v:0", "rotate=90"});
    if (name == "sound-only wmv")
        return MediaClips::Path(MediaClip{"sound.wmv", {"-c:a", "wmav2", "-f", "asf"}, false});
    return {};
}

} // namespace

// The picture's size is the size it is shown at, known by the time the file
// has opened, whatever the container tells of it.
TEST(MpvEngine, ReportsThePictureAtTheSizeItIsShown)
{
    const struct
    {
        const char *clip;
        QSize shown;
    } rows[] = {
        {"mp4 named avi", {256, 192}}, {"matroska named avi", {192, 144}},
        {"16:9 dvd", {854, 480}},      {"rotated phone clip", {180, 320}},
        {"sound-only wmv", {}},
    };
    MpvEngine engine(Untimed());
    for (const auto &row : rows) {
        const QString path = ShownSizeClip(row.clip);
        ASSERT_FALSE(path.isEmpty()) << MediaClips::Error().toStdString();
        ASSERT_TRUE(engine.Load(path)) << row.clip;
        EXPECT_EQ(engine.PictureSize(), row.shown) << row.clip;
    }
}

TEST(ShownPictureSize, StretchesByThePixelAspectThenTurns)
{
    EXPECT_EQ(ShownPictureSize({720, 480}, 32.0 / 27, 0), QSize(854, 480));
    EXPECT_EQ(ShownPictureSize({720, 480}, 8.0 / 9, 0), QSize(720, 540)); // 4:3 NTSC: taller, never narrower
    EXPECT_EQ(ShownPictureSize({720, 576}, 64.0 / 45, 0), QSize(1024, 576));
    EXPECT_EQ(ShownPictureSize({320, 180}, 1, 90), QSize(180, 320));
    EXPECT_EQ(ShownPictureSize({320, 180}, 0, 270), QSize(180, 320)); // no aspect known: square
    EXPECT_EQ(ShownPictureSize({320, 180}, 1, 180), QSize(320, 180));
}

// A file whose length mpv cannot tell, or guesses short from the bitrate (a
// raw stream, as a file still being written can be): the position is never
// held at that length, the length follows it, and at the end it is what played.
TEST(MpvEngine, FollowsAFileOfUnknownLength)
{
    // Longer than mpv reads ahead, which would find the end.
    const QString path =
        MediaClips::Custom("raw.avi", "testsrc=size=160x120:rate=25:duration=4", {"-an", "-c:v", "mpeg4", "-f", "m4v"});
    ASSERT_FALSE(path.isEmpty()) << MediaClips::Error().toStdString();
    MpvEngine engine(Untimed());
    ASSERT_TRUE(engine.Load(path));
    ASSERT_LT(engine.Duration(), 3) << "mpv knew the length: nothing to follow";
    double furthest = 0;
    QObject::connect(&engine, &PlaybackEngine::PositionChanged, &engine, [&] {
        furthest = std::max(furthest, engine.Position());
        EXPECT_TRUE(engine.Duration() == 0 || engine.Duration() >= engine.Position());
    });
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    EXPECT_GT(furthest, 3.0);
    EXPECT_GT(engine.Duration(), 3.9);
    EXPECT_EQ(engine.Position(), engine.Duration());
}

// Probing a file that ffmpeg reads at length (gigabytes of nothing) holds
// neither the event loop nor the engine: windows are painted and timers run
// while Load waits, and the file fails as unplayable, within seconds.
TEST(MpvEngine, AFileThatTakesLongToProbeLeavesTheEventLoopRunning)
{
    QTemporaryDir folder;
    QFile sparse(folder.filePath("nothing.avi"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(2) << 30));
    sparse.close();
    MpvEngine engine(Untimed());
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(50);
    QElapsedTimer took;
    took.start();
    EXPECT_FALSE(engine.Load(sparse.fileName()));
    EXPECT_LT(took.elapsed(), 8000);
    EXPECT_GE(ticks, took.elapsed() / 50 / 2) << "the event loop stood still for " << took.elapsed() << " ms";
    EXPECT_TRUE(engine.Load(MediaClips::Path("clip.avi"))) << "the engine recovers";
}

// What runs while Load waits may give the open up: the file closed (a stop
// from outside), or another opened in its place. Load then returns false at
// once, and the engine is as the call left it.
TEST(MpvEngine, ALoadGivenUpWhileItWaitsReturnsAtOnce)
{
    QTemporaryDir folder;
    QFile sparse(folder.filePath("slow.avi")); // takes seconds to open
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(2) << 30));
    sparse.close();
    const struct
    {
        const char *what;
        std::function<void(MpvEngine &)> giveUp;
        State after;
    } rows[] = {
        {"unloaded", [](MpvEngine &e) { e.Unload(); }, State::Empty},
        {"replaced", [](MpvEngine &e) { e.Open(MediaClips::Path("clip.avi")); }, State::Opening},
    };
    MpvEngine engine(Untimed());
    for (const auto &row : rows) {
        QTimer::singleShot(0, &engine, [&] { row.giveUp(engine); });
        QTimer stillWaiting; // were the wait to go on, this would end it
        stillWaiting.setSingleShot(true);
        QObject::connect(&stillWaiting, &QTimer::timeout, [&] { emit engine.Failed(QStringLiteral("waited")); });
        stillWaiting.start(4000);
        QElapsedTimer took;
        took.start();
        EXPECT_FALSE(engine.Load(sparse.fileName())) << row.what;
        EXPECT_LT(took.elapsed(), 2000) << row.what;
        EXPECT_EQ(engine.PlayState(), row.after) << row.what;
        engine.Unload();
    }
    EXPECT_TRUE(engine.Load(MediaClips::Path("clip.avi"))) << "the engine recovers";
}
