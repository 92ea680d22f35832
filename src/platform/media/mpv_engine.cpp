#include "platform/media/mpv_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPalette>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <vector>
#include <mpv/client.h>
#include <mpv/render_gl.h>

Q_LOGGING_CATEGORY(lcMpv, "reelbox.media.mpv")

namespace {

// How long Load waits for a file to open before giving up.
constexpr int kLoadTimeoutMs = 10000;
// How often Load looks up from mpv's queue while it waits.
constexpr double kLoadSliceSeconds = 0.005;

// Tags of asynchronous requests, so their replies find their way back. Seeks
// count up from kFirstSeekTag.
enum : uint64_t {
    kLoadTag = 1,
    kDurationTag,
    kTracksTag,
    kEofTag,
    kFirstSeekTag = 100,
};

// GL entry points for mpv, from whichever Qt context is current (render thread).
void *GlProcAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(name)) : nullptr;
}

QString ErrorText(int error) { return QString::fromUtf8(mpv_error_string(error)); }

} // namespace

// The QOpenGLWidget mpv draws into. It owns the render context, which lives
// exactly as long as the widget's GL context, and repaints only when mpv has a
// new frame (or Qt needs the widget drawn afresh, e.g. after a resize).
class MpvVideoView : public QOpenGLWidget
{
public:
    MpvVideoView(MpvEngine &engine, mpv_handle *mpv) : engine_(engine), mpv_(mpv)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
            engine_.OnFrameSwapped(std::exchange(frameRendered_, false));
        });
    }
    ~MpvVideoView() override { FreeRenderContext(); }

    bool HasRenderContext() const { return render_ != nullptr; }
    // The file changed: what mpv delivered before is no longer to be shown.
    void ForgetFrame() { unseenFrame_ = false; }
    // For Load, which holds the GUI thread: takes a frame mpv is waiting to hand over.
    void TakeWaitingFrame()
    {
        if (updatePosted_)
            CheckForFrame(true);
    }

protected:
    void initializeGL() override
    {
        mpv_opengl_init_params gl{GlProcAddress, nullptr};
        int advanced = 0;
        Display *x11 = nullptr;
        if (auto *app = qApp->nativeInterface<QNativeInterface::QX11Application>())
            x11 = app->display(); // lets hardware decoding hand frames to GL on X11
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
            {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
            {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
            {x11 ? MPV_RENDER_PARAM_X11_DISPLAY : MPV_RENDER_PARAM_INVALID, x11},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        if (mpv_render_context_create(&render_, mpv_, params) < 0) {
            render_ = nullptr;
            return;
        }
        mpv_render_context_set_update_callback(render_, &MpvVideoView::OnUpdate, this);
        // Qt drops the GL context when the widget moves to another top-level
        // window; the render context must go first, with the context current.
        connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                [this] { FreeRenderContext(); }, Qt::DirectConnection);
        engine_.OnRenderContextReady();
    }

    void paintGL() override
    {
        if (!render_)
            return;
        const qreal ratio = devicePixelRatioF();
        mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()),
                           static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
        int flip = 1; // Qt shows the framebuffer with GL's origin at the bottom
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flip},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(render_, params);
        frameRendered_ = frameRendered_ || unseenFrame_;
        unseenFrame_ = false;
    }

private:
    // mpv thread: only posts the check to the GUI thread, at most one at a time.
    static void OnUpdate(void *self)
    {
        auto *view = static_cast<MpvVideoView *>(self);
        if (!view->updatePosted_.exchange(true))
            QMetaObject::invokeMethod(view, [view] { view->CheckForFrame(); }, Qt::QueuedConnection);
    }

    // GUI thread: repaint only when mpv has a frame to show. Where nobody can
    // see it (hidden or minimised window), or while Load holds the thread,
    // take the frame without drawing it, since mpv's output waits for every
    // frame to be taken; the picture is drawn when the window shows again.
    void CheckForFrame(bool drawLater = false)
    {
        updatePosted_ = false;
        if (!render_ || !(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME))
            return;
        // Count frames of the open file only, not redraws asked for by the
        // output of one on its way out.
        mpv_render_frame_info info{};
        mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
        if (engine_.videoOn_ && mpv_render_context_get_info(render_, query) >= 0
            && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT))
            unseenFrame_ = true;
        const QWindow *window = this->window()->windowHandle();
        if (!drawLater && isVisible() && window && window->isExposed()) {
            update();
            return;
        }
        makeCurrent();
        int skip = 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(render_, params);
        doneCurrent();
    }

    void FreeRenderContext()
    {
        if (!render_)
            return;
        makeCurrent();
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_); // mpv drops the video track here
        render_ = nullptr;
        doneCurrent();
        engine_.OnRenderContextGone();
    }

    MpvEngine &engine_;
    mpv_handle *mpv_;
    mpv_render_context *render_ = nullptr;
    std::atomic<bool> updatePosted_{false};
    bool unseenFrame_ = false;   // mpv delivered a frame not yet drawn on screen
    bool frameRendered_ = false; // a new frame was rendered since the last swap
};

MpvEngine::MpvEngine(MpvEngineOptions options, QObject *parent)
    : PlaybackEngine(parent), options_(options)
{
    mpv_ = mpv_create();
    if (mpv_) {
        const std::pair<const char *, const char *> settings[] = {
            {"config", "no"},
            {"ytdl", "no"},
            {"input-default-bindings", "no"},
            {"input-vo-keyboard", "no"},
            {"osc", "no"},
            {"osd-level", "0"},
            {"terminal", "no"},
            {"idle", "yes"},
            {"keep-open", "yes"}, // hold the last frame at the end, as a stopped graph does
            {"hwdec", "auto-safe"},
            {"vo", options_.drawVideo ? "libmpv" : "null"},
            // The desktop's sound server, else the sound card; silence where
            // there is neither (the other drivers only cost start-up time).
            {"ao", "pipewire,pulse,alsa"},
            {"audio-fallback-to-null", "yes"},
            {"audio-client-name", "Reelbox"},
            // Frames are due when mpv hands them over: paintGL never waits.
            {"video-timing-offset", "0"},
        };
        for (const auto &[name, value] : settings)
            mpv_set_option_string(mpv_, name, value);
        if (options_.untimed) {
            mpv_set_option_string(mpv_, "untimed", "yes");
            mpv_set_option_string(mpv_, "ao", "null");
            mpv_set_option_string(mpv_, "ao-null-untimed", "yes");
        }
        if (mpv_initialize(mpv_) < 0) {
            mpv_terminate_destroy(mpv_);
            mpv_ = nullptr;
        }
    }
    if (mpv_) {
        // mpv's own messages, at the level REELBOX_MPV_LOG names (error by default).
        const QByteArray level = qgetenv("REELBOX_MPV_LOG");
        mpv_request_log_messages(mpv_, level.isEmpty() ? "error" : level.constData());
        // Load reads the file's length and tracks while mpv waits here, once
        // the file is open and before decoders and sound start.
        mpv_hook_add(mpv_, 0, "on_preloaded", 0);
        mpv_observe_property(mpv_, 0, "time-pos", MPV_FORMAT_DOUBLE);
        mpv_observe_property(mpv_, 0, "duration", MPV_FORMAT_DOUBLE);
        mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
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
    MakeWidget();
}

void MpvEngine::MakeWidget()
{
    if (options_.drawVideo && mpv_) {
        view_ = new MpvVideoView(*this, mpv_);
        widget_ = view_;
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

QWidget *MpvEngine::VideoWidget()
{
    if (!widget_) // its parent deleted it
        MakeWidget();
    return widget_;
}

bool MpvEngine::Load(const QString &path)
{
    Unload();
    if (!mpv_) {
        emit Failed(QStringLiteral("libmpv could not be started"));
        return false;
    }
    loading_ = Loading::Opening;
    failure_.clear();
    SetFlag("pause", true);
    const QByteArray file = path.toUtf8();
    // Video stays off until there is somewhere to draw it (see EnableVideo).
    Command({"loadfile", file.constData(), "replace", "vid=no"}, kLoadTag);

    // Wait on mpv's own queue: no Qt event loop runs, so no timer, input or
    // other handler of the caller can run in the middle of Load. Every request
    // is asynchronous, so mpv never waits on this (the render) thread either.
    // The wait is sliced so that frames of a file still on its way out are
    // taken meanwhile: mpv would otherwise stall up to 0.2 s on each.
    QElapsedTimer clock;
    clock.start();
    while (loading_ != Loading::Loaded && loading_ != Loading::Failed
           && clock.elapsed() < kLoadTimeoutMs) {
        Handle(*mpv_wait_event(mpv_, kLoadSliceSeconds));
        if (view_)
            view_->TakeWaitingFrame();
    }
    if (loading_ != Loading::Loaded) {
        Fail(failure_.isEmpty() ? QStringLiteral("timed out opening the file") : failure_);
        return false;
    }
    if (view_ && view_->isVisible())
        view_->update(); // show the new file's first frame once it comes
    return true;
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

void MpvEngine::Run()
{
    if (state_ == State::Empty)
        return;
    SetFlag("pause", false);
    state_ = atEnd_ ? State::Stopped : State::Playing;
}

void MpvEngine::Pause()
{
    if (state_ == State::Empty)
        return;
    SetFlag("pause", true);
    state_ = State::Paused;
}

void MpvEngine::Stop()
{
    if (state_ == State::Empty)
        return;
    SetFlag("pause", true);
    state_ = State::Stopped;
}

void MpvEngine::Unload()
{
    if (loading_ == Loading::Idle)
        return;
    Command({"stop"});
    ResetFile();
}

void MpvEngine::Seek(double seconds)
{
    if (state_ == State::Empty)
        return;
    seconds = std::clamp(seconds, 0.0, std::max(duration_, 0.0));
    seekTarget_ = seconds;
    seekPending_ = true;
    lastSeekAnswered_ = false;
    if (seconds < duration_)
        atEnd_ = false;
    const QByteArray target = QByteArray::number(seconds, 'f', 6);
    lastSeekTag_ = std::max<uint64_t>(lastSeekTag_ + 1, kFirstSeekTag);
    Command({"seek", target.constData(), "absolute"}, lastSeekTag_);
}

double MpvEngine::Position() const
{
    if (state_ == State::Empty)
        return 0;
    if (atEnd_)
        return duration_;
    if (seekPending_)
        return seekTarget_;
    return std::clamp(position_, 0.0, std::max(duration_, 0.0));
}

double MpvEngine::Duration() const { return state_ == State::Empty ? 0 : duration_; }

QSize MpvEngine::PictureSize() const { return state_ == State::Empty ? QSize() : picture_; }

void MpvEngine::DrainEvents()
{
    drainPosted_ = false;
    while (mpv_) {
        const mpv_event *event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        Handle(*event);
    }
}

void MpvEngine::Handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
        const auto *message = static_cast<mpv_event_log_message *>(event.data);
        qCWarning(lcMpv, "%s: %s", message->prefix, QByteArray(message->text).trimmed().constData());
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == kLoadTag && loading_ == Loading::Opening) {
            const mpv_node &result = static_cast<mpv_event_command *>(event.data)->result;
            if (event.error < 0) {
                failure_ = ErrorText(event.error);
                loading_ = Loading::Failed;
            } else if (result.format == MPV_FORMAT_NODE_MAP) {
                for (int i = 0; i < result.u.list->num; ++i)
                    if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0)
                        entry_ = result.u.list->values[i].u.int64;
            }
        } else if (event.reply_userdata == lastSeekTag_ && lastSeekTag_ >= kFirstSeekTag) {
            lastSeekAnswered_ = true;
            if (event.error < 0)
                seekPending_ = false; // refused: no restart will follow
        }
        break;
    case MPV_EVENT_START_FILE:
        if (loading_ == Loading::Opening && entry_ < 0) // libmpv without the command's reply field
            entry_ = static_cast<mpv_event_start_file *>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_HOOK: {
        // It concerns the latest START_FILE, which is ours: Load replaced the
        // playlist and events arrive in order.
        const uint64_t hook = static_cast<mpv_event_hook *>(event.data)->id;
        if (loading_ == Loading::Opening && entry_ >= 0) {
            loading_ = Loading::Reading;
            hook_ = hook;
            readsPending_ = 2;
            mpv_get_property_async(mpv_, kDurationTag, "duration", MPV_FORMAT_DOUBLE);
            mpv_get_property_async(mpv_, kTracksTag, "track-list", MPV_FORMAT_NODE);
        } else {
            mpv_hook_continue(mpv_, hook);
        }
        break;
    }
    case MPV_EVENT_GET_PROPERTY_REPLY:
        TakeReading(event);
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (entry_ < 0 || end->playlist_entry_id != entry_)
            break; // an earlier file, or one we stopped ourselves
        if (loading_ == Loading::Opening || loading_ == Loading::Reading) {
            // Errors, and playlists (REDIRECT): we play the file, not what it lists.
            failure_ = end->reason == MPV_END_FILE_REASON_ERROR ? ErrorText(end->error)
                                                               : QStringLiteral("nothing to play");
            loading_ = Loading::Failed;
        } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
            Fail(ErrorText(end->error));
        } else if (end->reason == MPV_END_FILE_REASON_EOF) {
            // keep-open normally holds the file at its end; this is the fallback.
            mpvAtEnd_ = true;
            CheckEnd();
        }
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        if (loading_ != Loading::Loaded)
            break;
        const auto *property = static_cast<mpv_event_property *>(event.data);
        const QByteArray name(property->name);
        if (property->format == MPV_FORMAT_DOUBLE && name == "time-pos") {
            position_ = *static_cast<double *>(property->data);
        } else if (property->format == MPV_FORMAT_DOUBLE && name == "duration") {
            duration_ = *static_cast<double *>(property->data);
        } else if (property->format == MPV_FORMAT_FLAG && name == "eof-reached") {
            mpvAtEnd_ = *static_cast<int *>(property->data) != 0;
            if (!seekPending_) // else it may describe the place before the seek
                CheckEnd();
        }
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        // Restarts before the latest seek's reply belong to earlier seeks.
        if (seekPending_ && lastSeekAnswered_) {
            seekPending_ = false;
            position_ = seekTarget_;
            // An end heard while seeking may be stale: ask again, now.
            if (mpvAtEnd_)
                mpv_get_property_async(mpv_, kEofTag, "eof-reached", MPV_FORMAT_FLAG);
        }
        break;
    default:
        break;
    }
}

void MpvEngine::TakeReading(const mpv_event &event)
{
    const auto *property = static_cast<mpv_event_property *>(event.data);
    const bool ok = event.error >= 0 && property->format != MPV_FORMAT_NONE;
    if (event.reply_userdata == kEofTag) {
        if (ok && !seekPending_ && loading_ == Loading::Loaded) {
            mpvAtEnd_ = *static_cast<int *>(property->data) != 0;
            CheckEnd();
        }
        return;
    }
    if (loading_ != Loading::Reading)
        return;
    if (event.reply_userdata == kDurationTag)
        duration_ = ok ? *static_cast<double *>(property->data) : 0;
    else if (event.reply_userdata == kTracksTag && ok)
        ChooseVideoTrack(*static_cast<mpv_node *>(property->data));
    else if (event.reply_userdata != kTracksTag)
        return;
    if (--readsPending_ == 0) {
        position_ = 0;
        loading_ = Loading::Loaded;
        state_ = State::Stopped;
        // Chosen while mpv still waits, the track starts with the file rather
        // than being switched on (and the file re-read) afterwards.
        EnableVideo();
        mpv_hook_continue(mpv_, hook_);
    }
}

namespace {

// Value of `key` in an mpv node map, or null.
const mpv_node *Find(const mpv_node &map, const char *key)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i)
        if (qstrcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    return nullptr;
}

int64_t Int(const mpv_node *node) { return node && node->format == MPV_FORMAT_INT64 ? node->u.int64 : 0; }

bool Flag(const mpv_node *node) { return node && node->format == MPV_FORMAT_FLAG && node->u.flag; }

} // namespace

void MpvEngine::ChooseVideoTrack(const mpv_node &tracks)
{
    // The track mpv itself would take: the first marked default, else the
    // first; cover pictures of sound files are not video.
    videoTrack_ = 0;
    picture_ = QSize();
    if (tracks.format != MPV_FORMAT_NODE_ARRAY)
        return;
    const mpv_node *chosen = nullptr;
    for (int i = 0; i < tracks.u.list->num; ++i) {
        const mpv_node &track = tracks.u.list->values[i];
        const mpv_node *type = Find(track, "type");
        if (!type || type->format != MPV_FORMAT_STRING || qstrcmp(type->u.string, "video") != 0
            || Flag(Find(track, "albumart")))
            continue;
        if (!chosen || (Flag(Find(track, "default")) && !Flag(Find(*chosen, "default"))))
            chosen = &track;
    }
    if (!chosen)
        return;
    videoTrack_ = Int(Find(*chosen, "id"));
    const QSize size(static_cast<int>(Int(Find(*chosen, "demux-w"))),
                     static_cast<int>(Int(Find(*chosen, "demux-h"))));
    if (!size.isEmpty())
        picture_ = size;
}

void MpvEngine::EnableVideo()
{
    if (loading_ != Loading::Loaded || videoTrack_ <= 0 || videoOn_)
        return;
    if (options_.drawVideo && !(view_ && view_->HasRenderContext()))
        return; // the view's first initializeGL calls again
    videoOn_ = true;
    mpv_set_property_async(mpv_, 0, "vid", MPV_FORMAT_INT64, &videoTrack_);
}

void MpvEngine::OnRenderContextReady() { EnableVideo(); }

void MpvEngine::OnRenderContextGone()
{
    // Freeing the render context made mpv drop the video track; the next
    // context takes it up again at the same place.
    videoOn_ = false;
}

void MpvEngine::Fail(const QString &reason)
{
    Command({"stop"});
    ResetFile();
    emit Failed(reason);
}

void MpvEngine::ResetFile()
{
    if (loading_ == Loading::Reading)
        mpv_hook_continue(mpv_, hook_); // never leave mpv waiting on us
    if (view_)
        view_->ForgetFrame();
    entry_ = -1;
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
}

void MpvEngine::CheckEnd()
{
    if (mpvAtEnd_ && !atEnd_) {
        atEnd_ = true;
        state_ = State::Stopped;
        emit EndOfStream();
    } else if (!mpvAtEnd_) {
        atEnd_ = false;
    }
}

void MpvEngine::OnFrameSwapped(bool newFrame)
{
    if (!newFrame)
        return;
    ++framesDrawn_;
    emit FrameDrawn();
}
