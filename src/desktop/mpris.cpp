#include "desktop/mpris.h"

#include "base/file_names.h"
#include "base/program_name.h"
#include "base/url_scheme.h"
#include "desktop/mpris_interfaces.h"
#include "desktop/remote_control.h"
#include "media/playback_engine.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <algorithm>

namespace {

const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString BaseName = QStringLiteral("org.mpris.MediaPlayer2.") + ProgramCommand;
const QString PlayingStatus = QStringLiteral("Playing");
const QString PausedStatus = QStringLiteral("Paused");
const QString StoppedStatus = QStringLiteral("Stopped");

constexpr double Microseconds = 1e6;

// A local path's URL names its bytes; a network URL is what it is.
QString UrlOf(const QString &source)
{
    return UrlScheme(source).isEmpty() ? QString::fromLatin1(FileUrlOfPath(source)) : source;
}

} // namespace

MprisPlayer::MprisPlayer(QObject *parent)
    : QObject(parent)
    , playerInterface_(AddMprisInterfaces(this))
{
    playEnds_.setSingleShot(true);
    playEnds_.setInterval(0);
    connect(&playEnds_, &QTimer::timeout, this, &MprisPlayer::EndPlay);
}

MprisPlayer::~MprisPlayer()
{
    if (!bus_)
        return;
    if (!serviceName_.isEmpty())
        bus_->unregisterService(serviceName_);
    bus_->unregisterObject(ObjectPath);
}

bool MprisPlayer::Offer()
{
    if (bus_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    bus_ = std::make_unique<QDBusConnection>(bus);
    // The plain name belongs to the first copy; others add their process
    // number, as MPRIS asks of a player's further instances.
    const QString instance =
        BaseName + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
    for (const QString &name : {BaseName, instance}) {
        if (bus_->registerService(name)) {
            serviceName_ = name;
            break;
        }
    }
    Announce(); // what holds from now on
    return true;
}

void MprisPlayer::Playing(RemoteControl &control, PlaybackEngine &engine)
{
    playEnds_.stop();
    if (engine_)
        disconnect(engine_, nullptr, this, nullptr);
    if (!playing_)
        between_ = PlayingStatus; // a play starts playing
    playing_ = true;
    control_ = &control;
    engine_ = &engine;
    ++show_;
    seeking_ = engine.Seeking();
    engine.SetVolume(volume_);
    connect(engine_, &PlaybackEngine::StateChanged, this, &MprisPlayer::EngineChanged);
    // A clip open, its length known: what it is, and whether it can seek.
    connect(engine_, &PlaybackEngine::Opened, this, [this] { Announce(); });
    Announce();
}

void MprisPlayer::Stopped()
{
    if (engine_)
        disconnect(engine_, nullptr, this, nullptr);
    control_ = nullptr;
    engine_ = nullptr;
    playEnds_.start();
}

void MprisPlayer::EndPlay()
{
    playing_ = false;
    Announce();
}

QString MprisPlayer::PlaybackStatus() const
{
    if (!playing_)
        return StoppedStatus;
    switch (engine_ ? engine_->PlayState() : PlaybackEngine::State::Empty) {
    case PlaybackEngine::State::Playing: return PlayingStatus;
    case PlaybackEngine::State::Paused: return PausedStatus;
    default: return between_; // opening, or from one file to the next
    }
}

QString MprisPlayer::TrackId() const
{
    const int clip = control_ ? control_->RemoteNowPlaying().clip : 0;
    return QStringLiteral("/jp/example/reelbox/track/%1_%2").arg(show_).arg(clip);
}

QVariantMap MprisPlayer::Metadata() const
{
    if (!control_)
        return {};
    const RemoteTrack track = control_->RemoteNowPlaying();
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId()))},
        {QStringLiteral("xesam:title"), track.title},
        {QStringLiteral("xesam:url"), UrlOf(track.source)},
    };
    if (engine_ && engine_->Duration() > 0)
        metadata.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(engine_->Duration() * Microseconds));
    return metadata;
}

qint64 MprisPlayer::PositionMicroseconds() const
{
    return engine_ ? static_cast<qint64>(engine_->Position() * Microseconds) : 0;
}

bool MprisPlayer::CanGoNext() const
{
    return control_ && list_ && list_->RemoteHasNext();
}

bool MprisPlayer::CanSeek() const
{
    return control_ && control_->RemoteCanSeek();
}

void MprisPlayer::Next()
{
    if (CanGoNext())
        control_->RemoteNext();
}

// Past the end is where the file would end by itself: on to the next, or
// the play's end.
void MprisPlayer::Seek(qint64 offset)
{
    if (!CanSeek())
        return;
    const double target = std::max(0.0, engine_->Position() + offset / Microseconds);
    if (target <= engine_->Duration())
        control_->RemoteSeek(target);
    else if (CanGoNext())
        control_->RemoteNext();
    else
        control_->RemoteStop();
}

void MprisPlayer::SetPosition(const QString &track, qint64 position)
{
    const double target = position / Microseconds;
    if (CanSeek() && track == TrackId() && target >= 0 && target <= engine_->Duration())
        control_->RemoteSeek(target);
}

void MprisPlayer::SetVolume(double volume)
{
    volume_ = volume > 0 ? std::min(volume, 1.0) : 0.0; // not a number: silence
    if (engine_)
        engine_->SetVolume(volume_);
    Announce();
}

// Track: the file plays again after its end. Playlist is no way the program
// plays and is refused; so is any change where the play has no 繰り返し.
QString MprisPlayer::LoopStatus() const
{
    const bool repeats = control_ && list_ && list_->RemoteRepeats().value_or(false);
    return repeats ? QStringLiteral("Track") : QStringLiteral("None");
}

void MprisPlayer::SetLoopStatus(const QString &status)
{
    if (control_ && list_ && (status == QLatin1String("Track") || status == QLatin1String("None")))
        list_->RemoteSetRepeat(status == QLatin1String("Track"));
    Announce({QStringLiteral("LoopStatus")});
}

bool MprisPlayer::Shuffle() const
{
    return control_ && list_ && list_->RemoteShuffles().value_or(false);
}

void MprisPlayer::SetShuffle(bool on)
{
    if (control_ && list_)
        list_->RemoteSetShuffle(on);
    Announce({QStringLiteral("Shuffle")});
}

void MprisPlayer::EngineChanged()
{
    const auto state = engine_->PlayState();
    if (state == PlaybackEngine::State::Playing)
        between_ = PlayingStatus;
    else if (state == PlaybackEngine::State::Paused)
        between_ = PausedStatus;
    // A file closed is news only with what follows: the next file, or the end.
    if (state != PlaybackEngine::State::Empty)
        Announce();
    const bool seeking = engine_->Seeking();
    if (seeking_ && !seeking)
        emit Seeked(PositionMicroseconds());
    seeking_ = seeking;
}

// What clients may have to be told of: the Player interface's properties
// that are neither fixed nor the position (which they ask for).
const QStringList MprisPlayer::Told = {
    QStringLiteral("PlaybackStatus"), QStringLiteral("LoopStatus"), QStringLiteral("Shuffle"),
    QStringLiteral("Metadata"),       QStringLiteral("Volume"),     QStringLiteral("CanGoNext"),
    QStringLiteral("CanPlay"),        QStringLiteral("CanPause"),   QStringLiteral("CanSeek"),
};

// Each property once for each change, so that clients that follow the play
// state hear each change once; those in `always` whatever their value (a
// setting refused, for a client that showed it as made).
void MprisPlayer::Announce(const QStringList &always)
{
    if (!bus_ || serviceName_.isEmpty())
        return;
    QVariantMap changed;
    for (const QString &name : Told) {
        const QVariant value = playerInterface_->property(name.toLatin1().constData());
        if (always.contains(name) || value != told_.value(name))
            changed.insert(name, value);
    }
    told_.insert(changed);
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    bus_->send(signal);
}
