#include "desktop/mpris_interfaces.h"

#include "base/program_name.h"
#include "desktop/mpris.h"
#include "desktop/remote_control.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QGuiApplication>

namespace {

// org.mpris.MediaPlayer2: who the player is. Raise brings the program's
// window to the front; it cannot be quit from outside (the main window
// decides when the program ends, and whether it saves).
class MprisRootInterface : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ No)
    Q_PROPERTY(bool CanRaise READ Yes)
    Q_PROPERTY(bool HasTrackList READ No)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ Nothing)
    Q_PROPERTY(QStringList SupportedMimeTypes READ Nothing)

public:
    explicit MprisRootInterface(MprisPlayer *player)
        : QDBusAbstractAdaptor(player)
        , player_(player)
    {
    }
    bool No() const { return false; }
    bool Yes() const { return true; }
    QString Identity() const { return ProgramName; }
    QString DesktopEntry() const { return QGuiApplication::desktopFileName(); }
    // Files are opened from the main window, not over the bus.
    QStringList Nothing() const { return {}; }

public slots:
    void Raise() { emit player_->RaiseRequested(); }
    void Quit() {} // CanQuit is false

private:
    MprisPlayer *player_;
};

// org.mpris.MediaPlayer2.Player: the playing window's commands and state. A
// list plays forward only, at its own speed, and files are chosen in the main
// window: Previous and OpenUri do nothing and the rate is 1, as the
// properties say. A rate of 0 pauses, as MPRIS asks.
class MprisPlayerInterface : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QString LoopStatus READ LoopStatus WRITE SetLoopStatus)
    Q_PROPERTY(double Rate READ One WRITE SetRate)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ One)
    Q_PROPERTY(double MaximumRate READ One)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ No)
    Q_PROPERTY(bool CanPlay READ Controlled)
    Q_PROPERTY(bool CanPause READ Controlled)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ Yes)

public:
    explicit MprisPlayerInterface(MprisPlayer *player)
        : QDBusAbstractAdaptor(player)
        , player_(player)
    {
        connect(player, &MprisPlayer::Seeked, this, [this](qint64 position) { emit Seeked(position); });
    }
    QString PlaybackStatus() const { return player_->PlaybackStatus(); }
    QString LoopStatus() const { return player_->LoopStatus(); }
    void SetLoopStatus(const QString &status) { player_->SetLoopStatus(status); }
    double One() const { return 1.0; }
    void SetRate(double rate)
    {
        if (rate == 0)
            Pause();
    }
    bool Shuffle() const { return player_->Shuffle(); }
    void SetShuffle(bool on) { player_->SetShuffle(on); }
    QVariantMap Metadata() const { return player_->Metadata(); }
    double Volume() const { return player_->Volume(); }
    void SetVolume(double volume) { player_->SetVolume(volume); }
    qlonglong Position() const { return player_->PositionMicroseconds(); }
    bool CanGoNext() const { return player_->CanGoNext(); }
    bool CanSeek() const { return player_->CanSeek(); }
    bool Controlled() const { return player_->Control() != nullptr; }
    bool Yes() const { return true; }
    bool No() const { return false; }

public slots:
    void PlayPause() { Command(&RemoteControl::RemotePlayPause); }
    void Play() { Command(&RemoteControl::RemotePlay); }
    void Pause() { Command(&RemoteControl::RemotePause); }
    void Next() { player_->Next(); }
    void Stop() { Command(&RemoteControl::RemoteStop); }
    void Previous() {}
    void Seek(qlonglong Offset) { player_->Seek(Offset); }
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
    {
        player_->SetPosition(TrackId.path(), Position);
    }
    void OpenUri([[maybe_unused]] const QString &Uri) {}

signals:
    void Seeked(qlonglong Position);

private:
    void Command(void (RemoteControl::*command)())
    {
        if (RemoteControl *control = player_->Control())
            (control->*command)();
    }

    MprisPlayer *player_;
};

} // namespace

QObject *AddMprisInterfaces(MprisPlayer *player)
{
    new MprisRootInterface(player);
    return new MprisPlayerInterface(player);
}

#include "mpris_interfaces.moc"
