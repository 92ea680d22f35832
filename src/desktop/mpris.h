#pragma once
// The program offered on the session bus as an MPRIS media player, so that
// keyboards' media keys and the desktop's media controls reach the window
// that plays a file: play, pause, next, stop and seeking, the volume, the
// playing list's repeat and order switches, and what plays with its length,
// play state and position. The bus name is org.mpris.MediaPlayer2.reelbox,
// or for a second copy org.mpris.MediaPlayer2.reelbox.instance<pid>; it is
// held from Offer to the end of the program, Stopped while nothing plays.
// A list is Playing (or Paused) from its first file to its last, the moves
// from file to file included. Without a session bus nothing is offered and
// everything else works as before. GUI thread only.

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <memory>

class PlaybackEngine;
class QDBusConnection;
class RemoteControl;
class RemotePlayList;

class MprisPlayer : public QObject
{
    Q_OBJECT
public:
    explicit MprisPlayer(QObject *parent = nullptr);
    ~MprisPlayer() override;

    // Connects to the session bus and takes the name; false without a bus.
    bool Offer();
    // The play commands that show the windows, asked what follows (none: nothing follows).
    void SetPlayList(RemotePlayList *list) { list_ = list; }

    // A window starts to play on engine and takes the desktop's commands
    // through control, until Stopped.
    void Playing(RemoteControl &control, PlaybackEngine &engine);
    // The window has closed. Once the event loop runs again without another
    // window playing, the play is over: Stopped.
    void Stopped();

    // The bus name held now; empty while none.
    QString ServiceName() const { return serviceName_; }

    // What the bus interfaces answer and do (see mpris.cpp); each command
    // does nothing where its Can... property is false.
    RemoteControl *Control() const { return control_; }
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qint64 PositionMicroseconds() const;
    bool CanGoNext() const;
    bool CanSeek() const;
    void Next();
    void Seek(qint64 offset);
    void SetPosition(const QString &track, qint64 position);
    // The engine's volume, 0 (silent) to 1 (the file's own), kept for the
    // program's run; values beyond are taken as the nearest end.
    double Volume() const { return volume_; }
    void SetVolume(double volume);
    QString LoopStatus() const;
    void SetLoopStatus(const QString &status);
    bool Shuffle() const;
    void SetShuffle(bool on);

signals:
    // Playback went on from a new place (a seek): the position in microseconds.
    void Seeked(qint64 position);
    // The desktop asks for the program's window in front.
    void RaiseRequested();

private:
    void EndPlay();
    void EngineChanged();
    QString TrackId() const;
    // Tells the bus which of the Player interface's properties changed since
    // it was last told (see mpris.cpp).
    void Announce(const QStringList &always = {});
    static const QStringList Told;

    std::unique_ptr<QDBusConnection> bus_; // once connected
    QObject *playerInterface_ = nullptr;   // answers the Player interface's properties
    QString serviceName_;
    QTimer playEnds_;
    RemotePlayList *list_ = nullptr;
    RemoteControl *control_ = nullptr;
    PlaybackEngine *engine_ = nullptr;
    bool playing_ = false; // from a window's start to the end of its play
    QString between_;      // the status while the engine moves to the next file
    quint64 show_ = 0;     // windows shown so far
    double volume_ = 1;
    QVariantMap told_; // the values the bus was last told
    bool seeking_ = false;
};
