// FilgraphManager over FakeEngine (what each operation does and how it fails
// on an empty graph), the picture's keys and clicks reaching the message
// drain, FakeEngine's own clock, and the player window's load sequence run
// against MpvEngine on a real file.

#include "media/filgraph_manager.h"

#include "fakes/fake_engine.h"
#include "media/media_clips.h"
#include "media/mpv_engine.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

using State = PlaybackEngine::State;

// Records the keys and mouse buttons a widget receives.
class InputLog : public QWidget
{
public:
    using QWidget::QWidget;
    QStringList log;

protected:
    void keyPressEvent(QKeyEvent *event) override { log << QStringLiteral("key %1").arg(event->key()); }
    void mousePressEvent(QMouseEvent *event) override
    {
        log << QStringLiteral("press %1,%2").arg(event->position().x()).arg(event->position().y());
    }
    void mouseReleaseEvent(QMouseEvent *) override { log << QStringLiteral("release"); }
};

// A real click and key press through the X server (the XTest extension),
// loaded at run time so the tests build without its headers. False where
// there is no such server or extension.
bool ClickAndPressSpace(QPoint global)
{
    auto *app = qApp->nativeInterface<QNativeInterface::QX11Application>();
    void *x11 = dlopen("libX11.so.6", RTLD_NOW), *xtest = dlopen("libXtst.so.6", RTLD_NOW);
    if (!app || !x11 || !xtest)
        return false;
    auto move =
        reinterpret_cast<int (*)(Display *, int, int, int, unsigned long)>(dlsym(xtest, "XTestFakeMotionEvent"));
    auto button =
        reinterpret_cast<int (*)(Display *, unsigned, int, unsigned long)>(dlsym(xtest, "XTestFakeButtonEvent"));
    auto key = reinterpret_cast<int (*)(Display *, unsigned, int, unsigned long)>(dlsym(xtest, "XTestFakeKeyEvent"));
    auto keycode = reinterpret_cast<unsigned char (*)(Display *, unsigned long)>(dlsym(x11, "XKeysymToKeycode"));
    auto flush = reinterpret_cast<int (*)(Display *)>(dlsym(x11, "XFlush"));
    if (!move || !button || !key || !keycode || !flush)
        return false;
    Display *display = app->display();
    move(display, -1, global.x(), global.y(), 0);
    button(display, 1, 1, 0);
    button(display, 1, 0, 0);
    const unsigned char space = keycode(display, 0x20);
    key(display, space, 1, 0);
    key(display, space, 0, 0);
    flush(display);
    return true;
}

} // namespace

class FilgraphManagerTest : public ::testing::Test
{
protected:
    FakeEngine engine;
    QDialog window;
    InputLog *display = new InputLog(&window);

    void SetUp() override
    {
        window.resize(400, 320);
        display->setGeometry(0, 20, 400, 267);
        engine.SetDuration(100);
        engine.SetPictureSize({320, 240});
    }
};

// Before a file is rendered every call fails and changes nothing; a file that
// cannot be rendered leaves the graph the same, without a failure signal.
TEST_F(FilgraphManagerTest, AnEmptyGraphFailsEveryCall)
{
    FilgraphManager graph(engine);
    QSignalSpy failures(&graph, &FilgraphManager::Failed);
    engine.FailLoad();
    EXPECT_FALSE(graph.RenderFile("/clips/broken.avi"));
    EXPECT_EQ(failures.count(), 0);

    EXPECT_EQ(graph.Duration(), std::nullopt);
    EXPECT_EQ(graph.CurrentPosition(), std::nullopt);
    EXPECT_FALSE(graph.CurrentPosition(5));
    EXPECT_FALSE(graph.Run());
    EXPECT_FALSE(graph.Pause());
    EXPECT_FALSE(graph.Stop());
    EXPECT_EQ(graph.Width(), std::nullopt);
    EXPECT_EQ(graph.Height(), std::nullopt);
    EXPECT_FALSE(graph.Width(1024));
    EXPECT_FALSE(graph.SetWindowPosition(0, 0, 10, 10));
    EXPECT_TRUE(graph.Owner(display));
    EXPECT_FALSE(engine.VideoWidget()->isVisibleTo(display));
}

// The window's LoadFile sequence: the picture window takes the picture's size,
// is placed in its owner, can be resized (full screen) and positioned.
TEST_F(FilgraphManagerTest, RenderedFilePlacesItsPictureInTheOwner)
{
    FilgraphManager graph(engine);
    ASSERT_TRUE(graph.RenderFile("/clips/a.avi"));
    EXPECT_EQ(engine.LoadedPath(), "/clips/a.avi");
    EXPECT_EQ(graph.WindowStyle(), FilgraphManager::kDefaultWindowStyle);
    EXPECT_TRUE(graph.WindowStyle(0x46000000));
    EXPECT_EQ(graph.WindowStyle(), 0x46000000);
    EXPECT_TRUE(graph.Owner(display));
    EXPECT_TRUE(graph.MessageDrain(display));
    EXPECT_EQ(graph.Owner(), display);
    EXPECT_EQ(graph.MessageDrain(), display);

    QWidget *picture = engine.VideoWidget();
    EXPECT_EQ(picture->parentWidget(), display);
    EXPECT_TRUE(picture->isVisibleTo(display));
    EXPECT_EQ(graph.Width(), 320);
    EXPECT_EQ(graph.Height(), 240);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 320, 240));

    EXPECT_TRUE(graph.Width(1024));
    EXPECT_TRUE(graph.Height(715));
    EXPECT_EQ(graph.Width(), 1024);
    EXPECT_EQ(graph.Height(), 715);
    EXPECT_TRUE(graph.SetWindowPosition(40, 14, 320, 239));
    EXPECT_EQ(picture->geometry(), QRect(40, 14, 320, 239));
    EXPECT_EQ(graph.Width(), 320);
    EXPECT_EQ(graph.Duration(), 100.0);
}

// A sound-only file renders, plays and has a length, but no picture window.
TEST_F(FilgraphManagerTest, SoundOnlyFileHasNoPictureWindow)
{
    engine.SetPictureSize({});
    FilgraphManager graph(engine);
    ASSERT_TRUE(graph.RenderFile("/clips/tone.wav"));
    graph.Owner(display);
    EXPECT_EQ(graph.Width(), std::nullopt);
    EXPECT_EQ(graph.Height(), std::nullopt);
    EXPECT_FALSE(graph.SetWindowPosition(0, 0, 10, 10));
    EXPECT_FALSE(engine.VideoWidget()->isVisibleTo(display));
    EXPECT_EQ(graph.Duration(), 100.0);
    EXPECT_TRUE(graph.Run());
}

// Control and position calls reach the engine; position reads back at once;
// the end of the stream and a later failure are passed on; destroying the
// graph closes the file and takes the picture away, so that the owner's
// window can then go without deleting the engine's picture.
TEST_F(FilgraphManagerTest, DrivesTheEngineAndPassesItsNewsOn)
{
    auto graph = std::make_unique<FilgraphManager>(engine);
    QSignalSpy ends(graph.get(), &FilgraphManager::EndOfStream);
    QSignalSpy failures(graph.get(), &FilgraphManager::Failed);
    ASSERT_TRUE(graph->RenderFile("/clips/a.avi"));
    graph->Owner(display);

    EXPECT_TRUE(graph->Run());
    EXPECT_TRUE(graph->CurrentPosition(0));
    engine.Advance(12);
    EXPECT_EQ(graph->CurrentPosition(), 12.0);
    EXPECT_TRUE(graph->Pause());
    EXPECT_EQ(engine.PlayState(), State::Paused);
    EXPECT_TRUE(graph->CurrentPosition(97));
    EXPECT_EQ(graph->CurrentPosition(), 97.0);
    EXPECT_TRUE(graph->Run());
    engine.Advance(3);
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(graph->CurrentPosition(), 100.0);
    EXPECT_TRUE(graph->Stop());
    EXPECT_EQ(engine.Calls(), (QStringList{"Load /clips/a.avi", "Run", "Seek 0", "Pause", "Seek 97", "Run", "Stop"}));

    engine.FailPlayback();
    EXPECT_EQ(failures.count(), 1);
    EXPECT_EQ(graph->Duration(), std::nullopt);

    ASSERT_TRUE(graph->RenderFile("/clips/b.avi"));
    QPointer<QWidget> picture = engine.VideoWidget();
    EXPECT_TRUE(picture->isVisibleTo(display));
    graph.reset();
    EXPECT_EQ(engine.Calls().last(), "Unload");
    EXPECT_EQ(engine.PlayState(), State::Empty);
    EXPECT_EQ(picture->parentWidget(), nullptr);
    EXPECT_TRUE(picture->isHidden());
    delete display;
    EXPECT_TRUE(picture) << "the owner took the engine's picture with it";
}

// Keys and mouse buttons on the picture reach the message drain once each,
// the click's position in the drain's own coordinates; a drain elsewhere in
// the window gets them instead of the picture's owner.
TEST_F(FilgraphManagerTest, MessageDrainReceivesKeysAndClicksOnThePicture)
{
    FilgraphManager graph(engine);
    ASSERT_TRUE(graph.RenderFile("/clips/a.avi"));
    graph.Owner(display);
    graph.MessageDrain(display);
    graph.SetWindowPosition(40, 13, 320, 240);
    auto *elsewhere = new InputLog(&window);
    elsewhere->setGeometry(0, 290, 400, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget *picture = engine.VideoWidget();

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::keyClick(picture, Qt::Key_Space);
    const QStringList expected{"press 50,33", "release", QStringLiteral("key %1").arg(Qt::Key_Space)};
    EXPECT_EQ(display->log, expected);

    display->log.clear();
    graph.MessageDrain(elsewhere);
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::keyClick(picture, Qt::Key_Space);
    EXPECT_EQ(elsewhere->log, (QStringList{"press 50,-237", "release", QStringLiteral("key %1").arg(Qt::Key_Space)}));
    EXPECT_TRUE(display->log.isEmpty());
}

// The fake's clock moves only while playing and stops at the end, once.
TEST(FakeEngine, ClockMovesOnlyWhilePlayingAndStopsAtTheEnd)
{
    FakeEngine engine;
    QSignalSpy ends(&engine, &PlaybackEngine::EndOfStream);
    engine.SetDuration(10);
    ASSERT_TRUE(engine.Load("a.avi"));
    engine.Advance(3);
    EXPECT_EQ(engine.Position(), 0);
    engine.Run();
    engine.Advance(3);
    engine.Pause();
    engine.Advance(3);
    EXPECT_EQ(engine.Position(), 3);
    engine.Run();
    engine.Advance(30);
    EXPECT_EQ(engine.Position(), 10);
    EXPECT_EQ(engine.PlayState(), State::Stopped);
    engine.Advance(1);
    EXPECT_EQ(ends.count(), 1);

    engine.FailLoad();
    EXPECT_FALSE(engine.Load("b.avi"));
    EXPECT_TRUE(engine.Load("c.avi")); // only the next load fails
}

// The player window's LoadFile, step by step, on a real clip with MpvEngine:
// everything it reads after RenderFile is there before the window is shown,
// the picture plays once it is, the user's click and key on the picture (a
// window of its own) reach the message drain, and the end of the stream arrives.
TEST(FilgraphManagerOnMpv, WindowLoadSequencePlaysARealClip)
{
    MpvEngine engine;
    QDialog window;
    window.resize(400, 300);
    auto *display = new InputLog(&window);
    display->setGeometry(0, 20, 400, 260);
    display->setFocusPolicy(Qt::StrongFocus);

    FilgraphManager graph(engine);
    QSignalSpy ends(&graph, &FilgraphManager::EndOfStream);
    graph.WindowStyle(0x46000000);
    graph.Owner(display);
    graph.MessageDrain(display);
    ASSERT_TRUE(graph.RenderFile(MediaClips::Path("clip.rm")));
    EXPECT_EQ(graph.Width(), 320);
    EXPECT_EQ(graph.Height(), 240);
    ASSERT_TRUE(graph.Duration());
    EXPECT_NEAR(*graph.Duration(), 1.0, 0.1);
    EXPECT_TRUE(graph.SetWindowPosition(40, 10, 320, 240));
    EXPECT_TRUE(graph.Run());
    EXPECT_TRUE(graph.CurrentPosition(0));
    EXPECT_FALSE(window.isVisible());

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    display->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.FramesDrawn() > 0; }));
    if (ClickAndPressSpace(display->mapToGlobal(QPoint(100, 100)))) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return display->log.size() >= 3; }));
        EXPECT_EQ(display->log, (QStringList{"press 100,100", "release", QStringLiteral("key %1").arg(Qt::Key_Space)}));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.count() > 0; }));
    EXPECT_EQ(graph.CurrentPosition(), graph.Duration());
}
