#include "desktop/single_instance.h"

#include "base/program_name.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// What a start sends: its arguments and working folder, behind this mark.
constexpr quint32 StartMark = 0x52425831; // "RBX1"
// The running copy's answer once it has taken them.
constexpr char Taken = '\x06';
// More than a start could ever send: a sender of this much is no copy of ours.
constexpr qsizetype MaxMessage = 4 * 1024 * 1024;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;

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

QByteArray StartMessage(const QStringList &arguments, const QString &workingFolder)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << StartMark << arguments << workingFolder;
    QByteArray framed;
    QDataStream frame(&framed, QIODevice::WriteOnly);
    frame.setVersion(StreamVersion);
    frame << payload; // its length, then its bytes
    return framed;
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
    const Clock::time_point deadline = Clock::now() + patience_;
    for (;;) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            Listen();
            return true;
        }
        // The copy holding the lock may not listen yet (it is starting) or no
        // longer (it is ending): try again until it does, or its lock is free.
        if (Deliver(arguments, workingFolder, deadline) == HandOver::Delivered) {
            exitCode_ = 0;
            return false;
        }
        if (Clock::now() >= deadline)
            break;
        QThread::msleep(50);
    }
    exitCode_ = 1;
    ShowMessage(ProgramName
                    + QStringLiteral(" は既に起動していますが、応答がありません。\n"
                                     "そのウィンドウを閉じてから、もう一度起動してください。"),
                MessageBoxStyle::Exclamation, ProgramName);
    return false;
}

SingleInstance::HandOver SingleInstance::Deliver(const QStringList &arguments, const QString &workingFolder,
                                                 Clock::time_point deadline)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(qMax(MillisecondsUntil(deadline), 1)))
        return HandOver::NoOneListening;
    socket.write(StartMessage(arguments, workingFolder));
    while (socket.state() == QLocalSocket::ConnectedState && socket.bytesToWrite() > 0
           && socket.waitForBytesWritten(MillisecondsUntil(deadline))) {
    }
    // The answer comes once the running copy has taken the start; a copy that
    // ends first closes the connection without one.
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState
           && MillisecondsUntil(deadline) > 0)
        socket.waitForReadyRead(MillisecondsUntil(deadline));
    char answer = 0;
    return socket.getChar(&answer) && answer == Taken ? HandOver::Delivered : HandOver::NoOneListening;
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadStart(socket); });
        ReadStart(socket);
    }
}

void SingleInstance::ReadStart(QLocalSocket *socket)
{
    // The message is whole once its length and that many bytes are there.
    const QByteArray received = socket->peek(socket->bytesAvailable());
    if (received.size() < 4)
        return;
    QDataStream frame(received);
    frame.setVersion(StreamVersion);
    quint32 length = 0;
    frame >> length;
    if (length > MaxMessage) {
        socket->abort();
        return;
    }
    if (received.size() < 4 + qsizetype(length))
        return;
    socket->read(4 + qsizetype(length));
    QDataStream in(received.mid(4, length));
    in.setVersion(StreamVersion);
    quint32 mark = 0;
    QStringList arguments;
    QString workingFolder;
    in >> mark >> arguments >> workingFolder;
    if (in.status() != QDataStream::Ok || mark != StartMark) {
        socket->abort();
        return;
    }
    // Answered first: what the start asks for may take long (a play), and the
    // start must not wait for it nor take the wait for a copy that hangs.
    socket->putChar(Taken);
    socket->flush();
    socket->disconnectFromServer();
    QMetaObject::invokeMethod(
        this, [this, arguments, workingFolder] { emit ArgumentsReceived(arguments, workingFolder); },
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
