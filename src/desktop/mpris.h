#pragma once
// The window that plays a file, offered on the session bus as an MPRIS media
// player, so that keyboards' media keys and the desktop's media controls reach
// it: play, pause, next and stop, and what plays with its length, play state
// and position. The bus name is org.mpris.MediaPlayer2.reelbox, or for a
// second copy org.mpris.MediaPlayer2.reelbox.instance<pid>; it is held only
// while a window plays (through a list from its first file to its last).
// Without a session bus nothing is offered and everything else works as before.
// GUI thread only.

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <memory>

class PlaybackEngine;
class QDBusConnection;
class RemoteControl;

class MprisPlayer : public QObject
{
    Q_OBJECT
public:
    explicit MprisPlayer(QObject *parent = nullptr);
    ~MprisPlayer() override;

    // A window starts to play path on engine and takes the desktop's commands
    // through control, until Stopped. The first call connects to the bus.
    void Playing(RemoteControl &control, PlaybackEngine &engine, const QString &path);
    // The window has closed. The name is given up once the event loop runs
    // again without another window playing, so a list keeps it from file to file.
    void Stopped();

    // The bus name held now; empty while none.
    QString ServiceName() const { return serviceName_; }

    // What the bus interfaces answer (see mpris.cpp).
    RemoteControl *Control() const { return control_; }
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qint64 PositionMicroseconds() const;

signals:
    // Playback went on from a new place (a seek): the position in microseconds.
    void Seeked(qint64 position);

private:
    bool Connect();
    void Release();
    void EngineChanged();
    // Tells the bus that the Player interface's properties named changed.
    void Announce(const QStringList &properties);

    std::unique_ptr<QDBusConnection> bus_; // once connected
    bool unavailable_ = false;             // no session bus: nothing to offer
    QString serviceName_;
    QTimer release_;
    RemoteControl *control_ = nullptr;
    PlaybackEngine *engine_ = nullptr;
    QString path_;
    quint64 track_ = 0;
    QString announcedStatus_;
    bool seeking_ = false;
};
