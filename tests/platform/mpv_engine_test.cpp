// MpvEngine against real files made by ffmpeg: every format the player window
// is given, a sound-only file, a missing file and a garbage file; then the
// picture itself, drawn into a shown window.

#include "platform/media/mpv_engine.h"
#include "platform/media_clips.h"

#include <QDialog>
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
// it, late news about an earlier file is not taken for the current one, and a
// failed file leaves the engine ready for the next.
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
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(failures.count(), 2);
}

// Stop and Pause hold the file open at its place; neither ends the stream.
TEST(MpvEngine, StopAndPauseKeepTheFileOpen)
{
    MpvEngine engine(Untimed());
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    ASSERT_TRUE(engine.Load(MediaClips::Path("clip.mpg")));
    engine.Seek(0.4);
    engine.Pause();
    EXPECT_EQ(engine.PlayState(), State::Paused);
    engine.Stop();
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    EXPECT_EQ(engine.Position(), 0.4);
    EXPECT_NEAR(engine.Duration(), 1.0, 0.1);
    EXPECT_EQ(ends.count(), 0);
}

namespace {

// Reads the colour at `point` of `widget` from the X server's screen, which is
// what the user sees (a widget's own framebuffer can differ from it).
QColor OnScreen(QWidget *widget, QPoint point)
{
    const QPoint global = widget->mapToGlobal(point);
    return widget->screen()->grabWindow(0, global.x(), global.y(), 1, 1).toImage().pixelColor(0, 0);
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

// The window's case: load before the window is shown, read the size and
// length at once, then show it. The picture must reach the screen, upright
// (red above blue), and the stream must end.
TEST(MpvEngine, ShowsThePictureUprightOnScreen)
{
    const QString path = UpDownClip();
    ASSERT_FALSE(path.isEmpty()) << MediaClips::Error().toStdString();

    QDialog window;
    window.resize(320, 240);
    MpvEngine engine;
    QWidget *picture = engine.VideoWidget();
    picture->setParent(&window);
    picture->setGeometry(0, 0, 320, 240);
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);

    ASSERT_TRUE(engine.Load(path));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(engine.PictureSize(), QSize(320, 240));
    EXPECT_NEAR(engine.Duration(), 1.0, 0.1);

    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > 0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }))
        << "top shows " << OnScreen(picture, {160, 40}).name().toStdString();
    EXPECT_TRUE(IsBlue(OnScreen(picture, {160, 200})))
        << "bottom shows " << OnScreen(picture, {160, 200}).name().toStdString();
    engine.Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
}

// Moving the picture into another top-level window after it has shown gives
// it a new GL context; the video follows it there, upright.
TEST(MpvEngine, PictureFollowsItsWidgetIntoAnotherWindow)
{
    QDialog first, second;
    first.resize(320, 240);
    second.resize(320, 240);
    MpvEngine engine;
    QWidget *picture = engine.VideoWidget();
    picture->setParent(&first);
    picture->setGeometry(0, 0, 320, 240);
    ASSERT_TRUE(engine.Load(UpDownClip()));
    first.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > 0; })); // paused at the start

    const int before = engine.FramesDrawn();
    picture->setParent(&second);
    picture->setGeometry(0, 0, 320, 240);
    picture->show();
    second.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > before; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsRed(OnScreen(picture, {160, 40})); }));
    EXPECT_TRUE(IsBlue(OnScreen(picture, {160, 200})));
}

// The picture's owner may delete it: the engine then makes a new one and
// still plays; deleting the engine while the picture is shown is safe too.
TEST(MpvEngine, SurvivesEitherSideBeingDeletedFirst)
{
    auto engine = std::make_unique<MpvEngine>(MpvEngineOptions{.drawVideo = true, .untimed = true});
    {
        QDialog window;
        engine->VideoWidget()->setParent(&window);
        ASSERT_TRUE(engine->Load(MediaClips::Path("clip.avi")));
        window.show();
        engine->Run();
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine->FramesDrawn() > 0; }));
    } // the window deletes the picture while the file plays
    QDialog window;
    QPointer<QWidget> picture = engine->VideoWidget();
    ASSERT_TRUE(picture);
    picture->setParent(&window);
    ASSERT_TRUE(engine->Load(MediaClips::Path("clip.avi")));
    EXPECT_EQ(engine->PictureSize(), QSize(320, 240));
    window.show();
    engine->Run();
    engine.reset(); // while playing, with the picture on screen
    EXPECT_FALSE(picture);
}
