#include "desktop/mpris.h"

#include "base/program_name.h"
#include "desktop/remote_control.h"
#include "media/playback_engine.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace {

const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString BaseName = QStringLiteral("org.mpris.MediaPlayer2.") + ProgramCommand;

} // namespace

// org.mpris.MediaPlayer2: who the player is. It can neither be raised nor
// quit from outside (the main window decides when the program ends).
class MprisRootInterface : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ No)
    Q_PROPERTY(bool CanRaise READ No)
    Q_PROPERTY(bool HasTrackList READ No)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ Nothing)
    Q_PROPERTY(QStringList SupportedMimeTypes READ Nothing)

public:
    explicit MprisRootInterface(QObject *player)
        : QDBusAbstractAdaptor(player)
    {
    }
    bool No() const { return false; }
    QString Identity() const { return ProgramName; }
    QString DesktopEntry() const { return QGuiApplication::desktopFileName(); }
    // Files are opened from the main window, not over the bus.
    QStringList Nothing() const { return {}; }

public slots:
    void Raise() {} // CanRaise is false
    void Quit() {}  // CanQuit is false
};

// org.mpris.MediaPlayer2.Player: the playing window's commands and state. A
// list plays forward only and positions are not set from outside: Previous,
// Seek, SetPosition and OpenUri do nothing, as their Can... properties say.
class MprisPlayerInterface : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ One)
    Q_PROPERTY(double MinimumRate READ One)
    Q_PROPERTY(double MaximumRate READ One)
    Q_PROPERTY(double Volume READ One)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ Controlled)
    Q_PROPERTY(bool CanGoPrevious READ No)
    Q_PROPERTY(bool CanPlay READ Controlled)
    Q_PROPERTY(bool CanPause READ Controlled)
    Q_PROPERTY(bool CanSeek READ No)
    Q_PROPERTY(bool CanControl READ Yes)

public:
    explicit MprisPlayerInterface(MprisPlayer *player)
        : QDBusAbstractAdaptor(player)
        , player_(player)
    {
        connect(player, &MprisPlayer::Seeked, this, [this](qint64 position) { emit Seeked(position); });
    }
    QString PlaybackStatus() const { return player_->PlaybackStatus(); }
    QVariantMap Metadata() const { return player_->Metadata(); }
    qlonglong Position() const { return player_->PositionMicroseconds(); }
    double One() const { return 1.0; }
    bool Controlled() const { return player_->Control() != nullptr; }
    bool Yes() const { return true; }
    bool No() const { return false; }

public slots:
    void PlayPause() { Command(&RemoteControl::RemotePlayPause); }
    void Play() { Command(&RemoteControl::RemotePlay); }
    void Pause() { Command(&RemoteControl::RemotePause); }
    void Next() { Command(&RemoteControl::RemoteNext); }
    void Stop() { Command(&RemoteControl::RemoteStop); }
    void Previous() {}
    void Seek([[maybe_unused]] qlonglong Offset) {}
    void SetPosition([[maybe_unused]] const QDBusObjectPath &TrackId, [[maybe_unused]] qlonglong Position) {}
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

MprisPlayer::MprisPlayer(QObject *parent)
    : QObject(parent)
{
    new MprisRootInterface(this);
    new MprisPlayerInterface(this);
    release_.setSingleShot(true);
    release_.setInterval(0);
    connect(&release_, &QTimer::timeout, this, &MprisPlayer::Release);
}

MprisPlayer::~MprisPlayer()
{
    Release();
    if (bus_)
        bus_->unregisterObject(ObjectPath);
}

bool MprisPlayer::Connect()
{
    if (bus_ || unavailable_)
        return bus_ != nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors)) {
        unavailable_ = true;
        return false;
    }
    bus_ = std::make_unique<QDBusConnection>(bus);
    return true;
}

void MprisPlayer::Playing(RemoteControl &control, PlaybackEngine &engine, const QString &path)
{
    release_.stop();
    if (engine_)
        disconnect(engine_, nullptr, this, nullptr);
    control_ = &control;
    engine_ = &engine;
    path_ = path;
    ++track_;
    seeking_ = engine.Seeking();
    connect(engine_, &PlaybackEngine::StateChanged, this, &MprisPlayer::EngineChanged);
    connect(engine_, &PlaybackEngine::Opened, this, [this] { Announce({QStringLiteral("Metadata")}); });
    if (!Connect())
        return;
    if (serviceName_.isEmpty()) {
        // The plain name belongs to the first copy that plays; others add
        // their process number, as MPRIS asks of a player's further instances.
        const QString instance =
            BaseName + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
        for (const QString &name : {BaseName, instance}) {
            if (bus_->registerService(name)) {
                serviceName_ = name;
                break;
            }
        }
    }
    announcedStatus_ = PlaybackStatus();
    Announce({QStringLiteral("PlaybackStatus"), QStringLiteral("Metadata"), QStringLiteral("CanGoNext"),
              QStringLiteral("CanPlay"), QStringLiteral("CanPause")});
}

void MprisPlayer::Stopped()
{
    if (engine_)
        disconnect(engine_, nullptr, this, nullptr);
    control_ = nullptr;
    engine_ = nullptr;
    release_.start();
}

void MprisPlayer::Release()
{
    release_.stop();
    if (bus_ && !serviceName_.isEmpty())
        bus_->unregisterService(serviceName_);
    serviceName_.clear();
}

QString MprisPlayer::PlaybackStatus() const
{
    switch (engine_ ? engine_->PlayState() : PlaybackEngine::State::Empty) {
    case PlaybackEngine::State::Opening: // about to play
    case PlaybackEngine::State::Playing: return QStringLiteral("Playing");
    case PlaybackEngine::State::Paused: return QStringLiteral("Paused");
    default: return QStringLiteral("Stopped");
    }
}

QVariantMap MprisPlayer::Metadata() const
{
    if (!control_)
        return {};
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(QDBusObjectPath(QStringLiteral("/jp/example/reelbox/track/%1").arg(track_)))},
        {QStringLiteral("xesam:title"), QFileInfo(path_).fileName()},
        {QStringLiteral("xesam:url"), QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded)},
    };
    if (engine_ && engine_->Duration() > 0)
        metadata.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(engine_->Duration() * 1e6));
    return metadata;
}

qint64 MprisPlayer::PositionMicroseconds() const
{
    return engine_ ? static_cast<qint64>(engine_->Position() * 1e6) : 0;
}

void MprisPlayer::EngineChanged()
{
    if (const QString status = PlaybackStatus(); status != announcedStatus_) {
        announcedStatus_ = status;
        Announce({QStringLiteral("PlaybackStatus")});
    }
    const bool seeking = engine_ && engine_->Seeking();
    if (seeking_ && !seeking)
        emit Seeked(PositionMicroseconds());
    seeking_ = seeking;
}

void MprisPlayer::Announce(const QStringList &properties)
{
    if (!bus_ || serviceName_.isEmpty())
        return;
    QVariantMap changed;
    for (const QString &name : properties) {
        if (name == QLatin1String("PlaybackStatus"))
            changed.insert(name, PlaybackStatus());
        else if (name == QLatin1String("Metadata"))
            changed.insert(name, Metadata());
        else
            changed.insert(name, control_ != nullptr); // the Can... of a playing window
    }
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    bus_->send(signal);
}

#include "mpris.moc"
