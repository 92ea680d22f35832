#include "platform/media/mpv_engine.h"

#include "platform/file_names.h"
#include "platform/media/mpv_engine_internal.h"
#include "platform/media/mpv_video_window.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// How long Load waits for a file to open before giving up.
constexpr int kLoadTimeoutMs = 10000;
// How often Load looks up from mpv's queue while it waits.
constexpr double kLoadSliceSeconds = 0.005;

} // namespace

MpvEngine::MpvEngine(MpvEngineOptions options, QObject *parent)
    : MpvEngine(StartMpv(options, options.drawVideo ? MakeSpareSurface() : nullptr), options, parent)
{
}

MpvEngine::MpvEngine(MpvStart start, MpvEngineOptions options, QObject *parent)
    : PlaybackEngine(parent), options_(options)
{
    mpv_ = std::exchange(start.mpv, nullptr);
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
        mpv_set_wakeup_callback(
            mpv_,
            [](void *self) {
                auto *engine = static_cast<MpvEngine *>(self);
                if (!engine->drainPosted_.exchange(true))
                    QMetaObject::invokeMethod(engine, [engine] { engine->DrainEvents(); },
                                              Qt::QueuedConnection);
            },
            this);
    }
    MakeWidget(std::move(start.picture));
}

void MpvEngine::MakeWidget(MpvPicture picture)
{
    if (options_.drawVideo && mpv_) {
        if (!picture.context) { // made again after its parent deleted the last one
            picture.surface = MakeSpareSurface();
            StartMpvPicture(mpv_, picture);
        }
        view_ = new MpvVideoWindow(*this, std::move(picture));
        widget_ = QWidget::createWindowContainer(view_); // takes ownership of the window
        widget_->setAttribute(Qt::WA_OpaquePaintEvent);
        widget_->installEventFilter(this);
        if (view_->HasRenderContext())
            OnRenderContextReady();
        else
            qCWarning(lcMpv, "no OpenGL for the picture: files play without it");
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

void MpvEngine::Open(const QString &path)
{
    Unload();
    if (!mpv_) {
        emit Failed(QStringLiteral("libmpv could not be started"));
        return;
    }
    loading_ = Loading::Opening;
    state_ = State::Opening;
    SetFlag("pause", true);
    const QByteArray file = EncodeFileName(path); // the name's own bytes, UTF-8 or not
    // No video track yet: it is chosen while mpv waits (ChooseVideoTrack),
    // passing over cover pictures.
    loadTag_ = NextTag();
    Command({"loadfile", file.constData(), "replace", "vid=no"}, loadTag_);
    AnnounceChanges();
}

bool MpvEngine::Load(const QString &path)
{
    Open(path);
    // Wait on mpv's own queue: no Qt event loop runs, so no timer, input or
    // other handler of the caller can run in the middle of Load. Every request
    // is asynchronous, so mpv never waits on this (the render) thread either.
    // The wait is sliced so that frames of a file still on its way out are
    // taken meanwhile: mpv would otherwise stall up to 0.2 s on each.
    QElapsedTimer clock;
    clock.start();
    while (state_ == State::Opening && clock.elapsed() < kLoadTimeoutMs) {
        Handle(*mpv_wait_event(mpv_, kLoadSliceSeconds));
        if (view_)
            view_->TakeWaitingFrame();
    }
    if (state_ == State::Opening)
        Fail(QStringLiteral("timed out opening the file"));
    return state_ != State::Empty; // a failure was reported on the way
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

bool MpvEngine::HasFile() const { return state_ != State::Empty && state_ != State::Opening; }

void MpvEngine::Run()
{
    if (!HasFile())
        return;
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
    seconds = std::clamp(seconds, 0.0, std::max(duration_, 0.0));
    if (seconds == 0 && untouched_)
        return; // already there: a seek would only restart decoding
    untouched_ = false;
    seekTarget_ = seconds;
    seekPending_ = true;
    lastSeekAnswered_ = false;
    if (seconds < duration_)
        atEnd_ = false;
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    lastSeekTag_ = NextTag();
    Command({"seek", target.constData(), "absolute"}, lastSeekTag_);
    AnnounceChanges();
}

double MpvEngine::Position() const
{
    if (!HasFile())
        return 0;
    if (atEnd_)
        return duration_;
    if (seekPending_)
        return seekTarget_;
    return std::clamp(position_, 0.0, std::max(duration_, 0.0));
}

double MpvEngine::Duration() const { return HasFile() ? duration_ : 0; }

QSize MpvEngine::PictureSize() const { return HasFile() ? picture_ : QSize(); }

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

bool MpvEngine::VideoOn() const { return videoOn_; }

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

void MpvEngine::ResetFile()
{
    if (loading_ == Loading::Reading)
        mpv_hook_continue(mpv_, hook_); // never leave mpv waiting on us
    if (view_) {
        view_->ForgetFrame();
        view_->Clear();
    }
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
    mpvAtEnd_ = false;
    seekPending_ = false;
    lastSeekAnswered_ = true;
    buffering_ = false;
}

void MpvEngine::CheckEnd()
{
    if (mpvAtEnd_ && !atEnd_) {
        atEnd_ = true;
        state_ = State::Stopped;
        AnnounceChanges();
        emit EndOfStream();
    } else if (!mpvAtEnd_) {
        atEnd_ = false;
    }
}

void MpvEngine::FrameShown()
{
    ++framesDrawn_;
    emit FrameDrawn();
}
