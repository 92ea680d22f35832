// One copy per settings folder, with real locks and sockets in a runtime folder
// of the test's own: a later start hands over exactly what it was started with,
// and is told when the running copy does not answer.
#include "desktop/single_instance.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class SingleInstanceTest : public ::testing::Test
{
protected:
    SingleInstanceTest()
        : oldRuntime_(qgetenv("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        QDir().mkpath(Settings("a"));
        QDir().mkpath(Settings("b"));
    }
    ~SingleInstanceTest() override { qputenv("XDG_RUNTIME_DIR", oldRuntime_); }

    QString Settings(const QString &name) const { return settings_.filePath(name); }

    QTemporaryDir runtime_, settings_;
    QByteArray oldRuntime_;
};

TEST_F(SingleInstanceTest, ALaterStartOnTheSameFolderHandsOverWhatItWasStartedWith)
{
    SingleInstance running(Settings("a"));
    ASSERT_TRUE(running.Claim({}, "/"));
    QSignalSpy received(&running, &SingleInstance::ArgumentsReceived);
    SingleInstance elsewhere(Settings("b"));
    EXPECT_TRUE(elsewhere.Claim({}, "/")) << "another settings folder runs side by side";

    // The same folder by another name, started from a thread of its own so the
    // running copy's event loop can answer it.
    const QStringList arguments = {"clip one.avi", "/videos/動画", ""};
    bool handedOver = true;
    int exitCode = -1;
    QThread *start = QThread::create([&] {
        SingleInstance later(Settings("x/../a/"), 10s);
        handedOver = !later.Claim(arguments, "/home/user/映画");
        exitCode = later.ExitCode();
    });
    start->start();
    ASSERT_TRUE(received.wait(10000));
    ASSERT_TRUE(start->wait(10000));
    delete start;
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), arguments);
    EXPECT_EQ(received[0][1].toString(), "/home/user/映画");
}

TEST_F(SingleInstanceTest, ACopyThatDoesNotAnswerIsReportedAndNothingRuns)
{
    SingleInstance running(Settings("a"));
    ASSERT_TRUE(running.Claim({}, "/"));
    // Its event loop never runs while the later start waits in this thread.
    SingleInstance later(Settings("a"), 300ms);
    QStringList told;
    later.ShowMessage = [&](const QString &text, int, const QString &) {
        told.append(text);
        return 1;
    };
    EXPECT_FALSE(later.Claim({"a.avi"}, "/"));
    EXPECT_EQ(later.ExitCode(), 1);
    EXPECT_EQ(told.size(), 1);
}

} // namespace
