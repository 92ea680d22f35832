#include "desktop/single_instance.h"

#include "base/program_name.h"
#include "desktop/start_message.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The running copy's answer to a start's message: taken (it will be opened),
// or refused (it is no message of ours, or too long).
constexpr char Taken = '\x06';
constexpr char Refused = '\x15';
// How long a connection may take to bring its whole message: a start writes
// it at once, so one still unfinished by then is not coming.
constexpr std::chrono::seconds UnfinishedMessageLimit(10);

// The folder as one name however it is reached (links, "..", a trailing
// separator), also while it does not exist yet: its nearest existing parent
// resolved, with the rest appended.
QString StableName(const QString &folder)
{
    QString rest;
    QFileInfo place(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!place.exists() && !place.isRoot()) {
        rest = u'/' + place.fileName() + rest;
        place = QFileInfo(place.absolutePath());
    }
    return QDir::cleanPath(place.canonicalFilePath() + rest);
}

// A folder only this user can enter, for the lock and the socket.
QString PrivateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    const QString folder = QDir::tempPath() + u'/' + ProgramCommand + u'-' + QString::number(::getuid());
    const QByteArray native = QFile::encodeName(folder);
    ::mkdir(native.constData(), 0700);
    struct stat info
    {
    };
    // Made by someone else, or a link: not private, so not used.
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()
        || (info.st_mode & 077) != 0)
        return {};
    return folder;
}

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<qint64>(left, 0, 60000));
}

} // namespace

SingleInstance::SingleInstance(const QString &settingsFolder, std::chrono::milliseconds patience, QObject *parent)
    : QObject(parent)
    , patience_(patience)
{
    ShowMessage = [](const QString &text, int style, const QString &title) {
        return ShowMessageBox(nullptr, text, style, title);
    };
    const QString folder = PrivateFolder();
    if (folder.isEmpty())
        return;
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(StableName(settingsFolder).toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    lockPath_ = folder + u'/' + ProgramCommand + u'-' + key + QStringLiteral(".lock");
    socketPath_ = folder + u'/' + ProgramCommand + u'-' + key + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance()
{
    if (lockFd_ >= 0)
        ::close(lockFd_); // the lock goes with it
}

bool SingleInstance::Claim(const QStringList &arguments, const QString &workingFolder)
{
    if (!lockPath_.isEmpty())
        lockFd_ = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Where no lock can be had at all, the program runs as it would alone.
    if (lockFd_ < 0)
        return true;
    const QByteArray message = StartMessage({arguments, workingFolder});
    const Clock::time_point deadline = Clock::now() + patience_;
    for (;;) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            Listen();
            return true;
        }
        // The copy holding the lock may not listen yet (it is starting) or no
        // longer (it is ending): try again until it does, or its lock is free.
        const HandOver handOver = message.isEmpty() ? HandOver::Refused : Deliver(message, deadline);
        if (handOver != HandOver::NoOneListening || Clock::now() >= deadline)
            return Ended(handOver);
        QThread::msleep(50);
    }
}

bool SingleInstance::Ended(HandOver handOver)
{
    exitCode_ = handOver == HandOver::Taken ? 0 : 1;
    if (handOver == HandOver::Refused)
        ShowMessage(QStringLiteral("既に起動している ") + ProgramName
                        + QStringLiteral(" が、開くように指定されたものを受け取りませんでした。\n"
                                         "開くものを減らして、もう一度起動してください。"),
                    MessageBoxStyle::Exclamation, ProgramName);
    else if (handOver == HandOver::NoOneListening)
        ShowMessage(ProgramName
                        + QStringLiteral(" は既に起動していますが、応答がありません。\n"
                                         "そのウィンドウを閉じてから、もう一度起動してください。"),
                    MessageBoxStyle::Exclamation, ProgramName);
    return false;
}

SingleInstance::HandOver SingleInstance::Deliver(const QByteArray &message, Clock::time_point deadline)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(qMax(MillisecondsUntil(deadline), 1)))
        return HandOver::NoOneListening;
    socket.write(message);
    while (socket.state() == QLocalSocket::ConnectedState && socket.bytesToWrite() > 0
           && socket.waitForBytesWritten(MillisecondsUntil(deadline))) {
    }
    // The answer comes once the running copy has read the message; a copy
    // that ends first closes the connection without one.
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState
           && MillisecondsUntil(deadline) > 0)
        socket.waitForReadyRead(MillisecondsUntil(deadline));
    char answer = 0;
    if (!socket.getChar(&answer))
        return HandOver::NoOneListening;
    return answer == Taken ? HandOver::Taken : HandOver::Refused;
}

void SingleInstance::Listen()
{
    // The lock is ours, so a socket there is a killed copy's.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptStarts);
    server_->listen(socketPath_);
    // Once the window is gone the program is ending: a start from then on
    // waits for the lock instead of handing itself to a copy that leaves.
    connect(qApp, &QGuiApplication::lastWindowClosed, server_, &QLocalServer::close);
}

void SingleInstance::AcceptStarts()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] { ReadStart(*socket, *received); });
        QTimer::singleShot(UnfinishedMessageLimit, socket, &QLocalSocket::abort);
        ReadStart(*socket, *received);
    }
}

void SingleInstance::ReadStart(QLocalSocket &socket, QByteArray &received)
{
    received += socket.readAll();
    const StartMessageRead read = ReadStartMessage(received);
    if (read.outcome == StartMessageRead::Outcome::Incomplete)
        return;
    // One answer a connection, given at once: what the start asks for may
    // take long (a play), and the start must not wait for it.
    disconnect(&socket, &QLocalSocket::readyRead, this, nullptr);
    const bool taken = read.outcome == StartMessageRead::Outcome::Whole;
    socket.putChar(taken ? Taken : Refused);
    socket.disconnectFromServer();
    if (taken)
        QMetaObject::invokeMethod(
            this, [this, request = read.request] { emit ArgumentsReceived(request.arguments, request.workingFolder); },
            Qt::QueuedConnection);
}

void BringToFront(QWidget &window)
{
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : &window;
    front->raise();
    front->activateWindow();
}
