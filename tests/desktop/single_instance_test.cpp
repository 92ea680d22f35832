// One copy per settings folder, with real locks and sockets in a runtime folder
// of the test's own: a later start hands over exactly what it was started with,
// and is told when the running copy does not answer or refuses; whatever else
// reaches the socket is refused, and the running copy goes on.
#include "desktop/single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>
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
    // Writes bytes to the running copy's socket as a stranger would, and
    // returns its answer ('\0' for none).
    char Send(const QByteArray &bytes)
    {
        const QStringList sockets = QDir(runtime_.path()).entryList({"*.socket"}, QDir::System);
        EXPECT_EQ(sockets.size(), 1);
        QLocalSocket socket;
        socket.connectToServer(runtime_.filePath(sockets.value(0)));
        socket.write(bytes);
        char answer = 0;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return socket.getChar(&answer) || socket.state() == QLocalSocket::UnconnectedState; }));
        return answer;
    }

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

// Numbers as the message carries them: 32 bits, big-endian.
QByteArray Numbers(std::initializer_list<quint32> numbers)
{
    QByteArray bytes;
    for (const quint32 number : numbers) {
        char big[4];
        qToBigEndian(number, big);
        bytes.append(big, 4);
    }
    return bytes;
}

QByteArray Framed(const QByteArray &payload)
{
    return Numbers({quint32(payload.size())}) + payload;
}

constexpr quint32 Mark = 0x52425831;

TEST_F(SingleInstanceTest, AMessageThatIsNotWholeIsRefusedAndTheRunningCopyGoesOn)
{
    SingleInstance running(Settings("a"));
    ASSERT_TRUE(running.Claim({}, "/"));
    QSignalSpy received(&running, &SingleInstance::ArgumentsReceived);
    const QByteArray text = Numbers({2}) + QByteArray("\0a", 2); // "a"
    const struct
    {
        const char *what;
        QByteArray bytes;
    } rows[] = {
        {"2^32 - 1 names in 39 bytes", Framed(Numbers({Mark, 0xFFFFFFFF}) + QByteArray(27, '\xFF'))},
        {"a name declared 4 GiB long", Framed(Numbers({Mark, 1, 0xFFFFFFFE}) + text + text)},
        {"a message declared 4 GiB long", Numbers({0xFFFFFFFF, Mark})},
        {"a name longer than the rest", Framed(Numbers({Mark, 1, 6}) + text)},
        {"half a UTF-16 unit", Framed(Numbers({Mark, 1, 1}) + "a" + text)},
        {"no working folder", Framed(Numbers({Mark, 1}) + text)},
        {"bytes past the folder", Framed(Numbers({Mark, 0}) + text + "x")},
        {"another mark", Framed(Numbers({Mark + 1, 0}) + text)},
        {"nothing in the frame", Framed({})},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Send(row.bytes), '\x15') << row.what;

    // What the copies before this one wrote (QDataStream) is taken.
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << Mark << QStringList{"a.avi", QString()} << QString("/");
    EXPECT_EQ(Send(Framed(payload)), '\x06');
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), (QStringList{"a.avi", ""}));
}

TEST_F(SingleInstanceTest, AStartTooLongToHandOverIsToldAndEndsAtOnce)
{
    SingleInstance running(Settings("a"));
    ASSERT_TRUE(running.Claim({}, "/"));
    SingleInstance later(Settings("a"), 10s);
    QStringList told;
    later.ShowMessage = [&](const QString &text, int, const QString &) {
        told.append(text);
        return 1;
    };
    EXPECT_FALSE(later.Claim({QString(9 * 1024 * 1024, u'a')}, "/"));
    EXPECT_EQ(later.ExitCode(), 1);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("受け取りませんでした")) << told[0].toStdString();
}

} // namespace
