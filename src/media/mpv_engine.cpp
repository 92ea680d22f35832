#include "media/mpv_engine.h"

#include "base/file_names.h"
#include "media/media_source.h"
#include "media/mpv_engine_internal.h"
#include "media/mpv_software_window.h"
#include "media/mpv_video_window.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

MpvEngine::MpvEngine(MpvEngineOptions options, QObject *parent)
    : MpvEngine(StartMpv(options), options, parent)
{
}

MpvEngine::MpvEngine(MpvStart start, MpvEngineOptions options, QObject *parent)
    : PlaybackEngine(parent)
    , options_(options)
{
    mpv_ = std::exchange(start.mpv, nullptr);
    openTimer_.setSingleShot(true);
    connect(&openTimer_, &QTimer::timeout, this, &MpvEngine::OnOpenTimer);
    if (mpv_) {
        // mpv's own messages, at the level REELBOX_MPV_LOG names (error by default).
        const QByteArray level = qgetenv("REELBOX_MPV_LOG");
        mpv_request_log_messages(mpv_, level.isEmpty() ? "error" : level.constData());
        // Opening reads the file's length and tracks while mpv waits here, once
        // the file is open and before decoders and sound start.
        mpv_hook_add(mpv_, 0, "on_preloaded", 0);
        mpv_observe_property(mpv_, 0, "time-pos", MPV_FORMAT_DOUBLE);
        mpv_observe_property(mpv_, 0, "duration", MPV_FORMAT_DOUBLE);
        mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
        mpv_observe_property(mpv_, 0, "paused-for-cache", MPV_FORMAT_FLAG);
        // The decoded picture's size, pixel aspect and rotation.
        mpv_observe_property(mpv_, 0, "video-params", MPV_FORMAT_NODE);
        mpv_set_wakeup_callback(
            mpv_,
            [](void *self) {
                auto *engine = static_cast<MpvEngine *>(self);
                if (!engine->drainPosted_.exchange(true))
                    QMetaObject::invokeMethod(
                        engine, [engine] { engine->DrainEvents(); }, Qt::QueuedConnection);
            },
            this);
    }
    MakeWidget(std::move(start.picture));
}

void MpvEngine::MakeWidget(MpvPicture picture)
{
    if (options_.drawVideo && mpv_) {
        if (!picture.started) // made again after its parent deleted the last one
            picture = MakeMpvPicture(mpv_, ChooseVideoRoute());
        view_ = MpvVideoWindow::Make(*this, std::move(picture));
        widget_ = QWidget::createWindowContainer(view_); // takes ownership of the window
        widget_->setAttribute(Qt::WA_OpaquePaintEvent);
        widget_->installEventFilter(this);
        if (view_->HasRenderContext())
            OnRenderContextReady();
        else
            qCWarning(lcMpv, "mpv cannot draw the picture: files play without it");
    } else {
        widget_ = new QWidget;
        widget_->setAutoFillBackground(true);
        widget_->setPalette(QPalette(Qt::black));
    }
}

MpvEngine::~MpvEngine()
{
    if (mpv_)
        mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    // The render context (freed by the view, GL context current) must be gone
    // before the core is destroyed.
    delete widget_.data();
    if (mpv_)
        mpv_terminate_destroy(mpv_);
}

bool MpvEngine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget_ && event->type() == QEvent::ParentAboutToChange && view_)
        view_->DropNativeWindow();
    return false;
}

QWidget *MpvEngine::VideoWidget()
{
    if (!widget_) // its parent deleted it
        MakeWidget();
    return widget_;
}

void MpvEngine::Open(const QString &path, double start)
{
    Unload();
    if (!mpv_) {
        emit Failed(QStringLiteral("libmpv could not be started"));
        return;
    }
    loading_ = Loading::Opening;
    state_ = State::Opening;
    loadTag_ = NextTag();
    AnnounceChanges();
    const bool stream = IsNetworkStreamUrl(path);
    const QString absolute = stream ? path : QDir::cleanPath(QDir::current().absoluteFilePath(path));
    // Anything but a stream is a file, named by its absolute path, which mpv
    // never reads as a protocol; a folder, device or pipe is no file to play
    // (mpv would list a folder, read a device for ever, or wait on a pipe).
    if (const PathKind kind = stream ? PathKind::File : KindOfPath(absolute); kind != PathKind::File) {
        FailLater(kind == PathKind::Missing ? QStringLiteral("no such file") : QStringLiteral("not a file"));
        return;
    }
    SetFlag("pause", true);
    const QByteArray source = stream ? path.toUtf8() : EncodeFileName(absolute); // the name's own bytes
    // No video track yet: it is chosen while mpv waits (ChooseVideoTrack),
    // passing over cover pictures. A later start is mpv's own start option:
    // the first frame decoded is the one there, with no seek after the load.
    start_ = std::max(start, 0.0);
    QByteArray options = "vid=no";
    if (start_ > 0)
        options += ",start=" + QByteArray::number(start_, 'f', 6);
    Command({"loadfile", source.constData(), "replace", options.constData()}, loadTag_);
    if (!stream) // a stream's server may take its time: mpv's network timeout applies
        openTimer_.start(mpv_limits::kOpenTimeoutMs);
}

bool MpvEngine::Load(const QString &path, double start)
{
    Open(path, start);
    const uint64_t open = loadTag_;
    const auto over = [this, open] { return loadTag_ != open || state_ != State::Opening; };
    if (!over()) {
        // Windows keep being painted and timers and queued calls run
        // meanwhile; input waits, so no handler of the caller runs in the
        // middle of Load. What runs may give the open up (Unload, or Open of
        // another file), which ends the wait as its opening or failing would.
        QEventLoop wait;
        connect(this, &PlaybackEngine::StateChanged, &wait, [&wait, over] {
            if (over())
                wait.quit();
        });
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return loadTag_ == open && state_ != State::Empty; // else failed, or given up
}

uint64_t MpvEngine::NextTag()
{
    return lastTag_ = std::max<uint64_t>(lastTag_ + 1, mpv_tags::kFirstCounted);
}

void MpvEngine::Command(std::initializer_list<const char *> words, uint64_t tag)
{
    if (!mpv_)
        return;
    std::vector<const char *> list(words);
    list.push_back(nullptr);
    mpv_command_async(mpv_, tag, list.data());
}

void MpvEngine::SetFlag(const char *name, bool value)
{
    if (!mpv_)
        return;
    int flag = value ? 1 : 0;
    mpv_set_property_async(mpv_, 0, name, MPV_FORMAT_FLAG, &flag);
}

bool MpvEngine::HasFile() const
{
    return state_ != State::Empty && state_ != State::Opening;
}

void MpvEngine::Run()
{
    if (!HasFile())
        return;
    if (!seekHeld_) // else once the seek has gone out
        SetFlag("pause", false);
    state_ = atEnd_ ? State::Stopped : State::Playing;
    AnnounceChanges();
}

void MpvEngine::Pause()
{
    if (!HasFile())
        return;
    SetFlag("pause", true);
    state_ = State::Paused;
    AnnounceChanges();
}

void MpvEngine::Stop()
{
    if (!HasFile())
        return;
    SetFlag("pause", true);
    state_ = State::Stopped;
    AnnounceChanges();
}

void MpvEngine::Unload()
{
    if (loading_ == Loading::Idle)
        return;
    Command({"stop"});
    ResetFile();
    AnnounceChanges();
}

void MpvEngine::Seek(double seconds)
{
    if (!HasFile())
        return;
    seconds = std::max(seconds, 0.0);
    if (Duration() > 0) // of a file of unknown length, mpv goes as far as it can
        seconds = std::min(seconds, Duration());
    if (seconds == 0 && untouched_)
        return; // already there: a seek would only restart decoding
    untouched_ = false;
    seekTarget_ = seconds;
    seekPending_ = true;
    seekStarted_ = false;
    lastSeekAnswered_ = false;
    if (seconds < Duration())
        atEnd_ = false;
    endBySeek_ = false;
    // mpv refuses a seek until it has loaded the file (just after Opened):
    // one asked for before then waits for it.
    seekHeld_ = !fileLoaded_;
    if (!seekHeld_)
        SendSeek();
    AnnounceChanges();
}

void MpvEngine::SetVolume(double level)
{
    // mpv's volume is a percentage, kept from file to file (the value is copied).
    double percent = level * 100;
    if (mpv_)
        mpv_set_property_async(mpv_, 0, "volume", MPV_FORMAT_DOUBLE, &percent);
}

double MpvEngine::Volume() const
{
    double percent = 0;
    if (mpv_)
        mpv_get_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &percent);
    return percent / 100;
}

void MpvEngine::SendSeek()
{
    seekHeld_ = false;
    const QByteArray target = QByteArray::number(seekTarget_, 'f', 6);
    lastSeekTag_ = NextTag();
    Command({"seek", target.constData(), "absolute"}, lastSeekTag_);
}

double MpvEngine::Position() const
{
    if (!HasFile())
        return 0;
    if (atEnd_)
        return Duration();
    if (seekPending_)
        return seekTarget_;
    return std::max(position_, 0.0);
}

double MpvEngine::Duration() const
{
    // A file still growing is at least as long as what has played; at its
    // end the length of one mpv could not tell is known too.
    if (!HasFile() || !(duration_ > 0 || atEnd_))
        return 0;
    return std::max(duration_, position_);
}

QSize MpvEngine::PictureSize() const
{
    return HasFile() ? picture_ : QSize();
}

void MpvEngine::EnableVideo()
{
    if (loading_ != Loading::Loaded || videoTrack_ <= 0 || videoOn_)
        return;
    if (options_.drawVideo && !(view_ && view_->HasRenderContext()))
        return; // no picture window to draw in: the file plays without video
    videoOn_ = true;
    mpv_set_property_async(mpv_, 0, "vid", MPV_FORMAT_INT64, &videoTrack_);
}

void MpvEngine::OnRenderContextReady()
{
    // A new picture window for an open file: mpv dropped its video with the
    // old one; switching the track off and on again rebuilds it here.
    if (loading_ == Loading::Loaded && videoTrack_ > 0) {
        const char *none = "no";
        mpv_set_property_async(mpv_, 0, "vid", MPV_FORMAT_STRING, &none);
    }
    EnableVideo();
}

// The software route draws no rotation: the file's picture is turned by
// filters before it reaches the window.
void MpvEngine::TurnUpright(int rotation)
{
    const bool software = view_ && view_->Route() == VideoRoute::Software;
    const QByteArray filters = software ? UprightingFilters(rotation) : QByteArray();
    if (filters == filters_)
        return;
    filters_ = filters;
    const char *value = filters_.constData();
    mpv_set_property_async(mpv_, 0, "vf", MPV_FORMAT_STRING, &value);
}

bool MpvEngine::VideoOn() const
{
    return videoOn_;
}

void MpvEngine::RenderContextGone()
{
    // Freeing the render context made mpv drop the video track; the next
    // context takes it up again at the same place.
    videoOn_ = false;
}

void MpvEngine::Fail(const QString &reason)
{
    Command({"stop"});
    ResetFile();
    AnnounceChanges();
    emit Failed(reason);
}

// Fails the open under way from the event loop, as mpv's own answers come.
void MpvEngine::FailLater(const QString &reason)
{
    QMetaObject::invokeMethod(
        this,
        [this, reason, open = loadTag_] {
            if (loading_ == Loading::Opening && loadTag_ == open)
                Fail(reason);
        },
        Qt::QueuedConnection);
}

void MpvEngine::OnOpenTimer()
{
    if (awaitingPicture_)
        CompleteOpening(); // without its picture for now: PictureChanged brings it
    else if (state_ == State::Opening)
        Fail(QStringLiteral("timed out opening the file"));
}

void MpvEngine::CompleteOpening()
{
    awaitingPicture_ = false;
    openTimer_.stop();
    state_ = State::Stopped;
    AnnounceChanges();
    emit Opened();
}

void MpvEngine::ResetFile()
{
    if (loading_ == Loading::Reading)
        mpv_hook_continue(mpv_, hook_); // never leave mpv waiting on us
    if (view_) {
        view_->ForgetFrame();
        view_->Clear();
    }
    openTimer_.stop();
    awaitingPicture_ = false;
    fileLoaded_ = false;
    seekHeld_ = false;
    entry_ = -1;
    entryFromNextStart_ = false;
    loading_ = Loading::Idle;
    state_ = State::Empty;
    duration_ = 0;
    position_ = 0;
    picture_ = QSize();
    videoTrack_ = 0;
    videoOn_ = false;
    atEnd_ = false;
    endBySeek_ = false;
    mpvAtEnd_ = false;
    seekPending_ = false;
    lastSeekAnswered_ = true;
    buffering_ = false;
}

void MpvEngine::CheckEnd()
{
    if (mpvAtEnd_ && awaitingPicture_) {
        // The stream ended before any picture did: it opens as it is, then ends.
        const uint64_t open = loadTag_;
        CompleteOpening();
        if (loadTag_ != open || loading_ != Loading::Loaded)
            return; // a listener closed it or opened another
    }
    if (mpvAtEnd_ && !atEnd_) {
        atEnd_ = true;
        state_ = State::Stopped;
        AnnounceChanges();
        emit EndOfStream();
    } else if (!mpvAtEnd_ && !endBySeek_) {
        atEnd_ = false;
    }
}

void MpvEngine::FrameShown()
{
    ++framesDrawn_;
    emit FrameDrawn();
}

std::optional<VideoRoute> MpvEngine::Route() const
{
    if (!view_ || !view_->HasRenderContext())
        return std::nullopt;
    return view_->Route();
}
