#include "platform/media/mpv_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPalette>
#include <QWidget>
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

// The native window mpv draws into, with a GL context of its own. Owning the
// context (rather than borrowing a QOpenGLWidget's) means the render context
// exists before anything is shown and outlives moves between windows (the
// native window itself is made afresh in the new place), and frames go
// straight to the window's own buffer: no extra composition pass per frame.
// Input passes through it to the widgets beneath (its container's), so the
// host sees the keys and clicks as on any widget. GUI thread only.
class MpvVideoWindow : public QWindow
{
public:
    MpvVideoWindow(MpvEngine &engine, mpv_handle *mpv) : engine_(engine)
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSwapInterval(1); // wait for the screen's refresh where it has one: no tearing
        setFormat(format);
        spare_.setFormat(format);
        spare_.create();
        context_.setFormat(format);
        if (!context_.create() || !context_.makeCurrent(&spare_))
            return;
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
        if (mpv_render_context_create(&render_, mpv, params) < 0)
            render_ = nullptr;
        else
            mpv_render_context_set_update_callback(render_, &MpvVideoWindow::OnUpdate, this);
        context_.doneCurrent();
    }

    ~MpvVideoWindow() override
    {
        if (!render_)
            return;
        context_.makeCurrent(&spare_);
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_); // mpv drops the video track here
        context_.doneCurrent();
        engine_.OnRenderContextGone();
    }

    bool HasRenderContext() const { return render_ != nullptr; }
    // The file changed: what mpv delivered before is no longer to be shown.
    void ForgetFrame() { unseenFrame_ = false; }
    // For Load, which holds the GUI thread: takes a frame mpv is waiting to
    // hand over (one of the file being replaced) without drawing it.
    void TakeWaitingFrame()
    {
        if (!updatePosted_)
            return;
        updatePosted_ = false;
        Draw(true, true);
    }
    // Drops the native window (a new one is made when next shown). Moving a
    // GL window between top-level windows can crash Mesa's software renderer;
    // a fresh one in the new place cannot. The GL context stays.
    void DropNativeWindow()
    {
        if (handle())
            destroy();
    }
    // Paints the window black (no file, or a file without video).
    void Clear()
    {
        if (!handle() || !isExposed() || !context_.makeCurrent(this))
            return;
        context_.functions()->glClearColor(0, 0, 0, 1);
        context_.functions()->glClear(GL_COLOR_BUFFER_BIT);
        context_.swapBuffers(this);
        context_.doneCurrent();
    }

protected:
    void exposeEvent(QExposeEvent *) override { Draw(); }

private:
    // mpv thread: only posts the check to the GUI thread, at most one at a time.
    static void OnUpdate(void *self)
    {
        auto *window = static_cast<MpvVideoWindow *>(self);
        if (!window->updatePosted_.exchange(true))
            QMetaObject::invokeMethod(window, [window] { window->CheckForFrame(); },
                                      Qt::QueuedConnection);
    }

    // GUI thread: draws when mpv has a frame to show.
    void CheckForFrame()
    {
        updatePosted_ = false;
        Draw(true);
    }

    // Renders mpv's current frame and shows it; with `onlyNewFrame`, only when
    // mpv has a new one. Where nobody can see it (hidden or minimised), or
    // with `takeOnly`, the frame is taken without drawing, since mpv's output
    // waits for every frame to be taken; the next expose draws it.
    void Draw(bool onlyNewFrame = false, bool takeOnly = false)
    {
        if (!render_)
            return;
        if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
            // Count frames of the open file only, not redraws asked for by
            // the output of one on its way out.
            mpv_render_frame_info info{};
            mpv_render_param query{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
            if (engine_.videoOn_ && mpv_render_context_get_info(render_, query) >= 0
                && (info.flags & MPV_RENDER_FRAME_INFO_PRESENT))
                unseenFrame_ = true;
        } else if (onlyNewFrame) {
            return;
        }
        // Frames nobody can see are taken on the spare surface.
        const bool visible = !takeOnly && handle() && isExposed();
        if (!context_.makeCurrent(visible ? static_cast<QSurface *>(this) : &spare_))
            return;
        const qreal ratio = devicePixelRatio();
        mpv_opengl_fbo fbo{static_cast<int>(context_.defaultFramebufferObject()),
                           static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), 0};
        int flip = 1; // a window's own buffer has GL's origin at the bottom
        int skip = visible ? 0 : 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flip},
            {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(render_, params);
        if (visible)
            context_.swapBuffers(this);
        mpv_render_context_report_swap(render_); // also when skipped, or mpv waits for it
        context_.doneCurrent();
        if (visible && std::exchange(unseenFrame_, false))
            engine_.OnFrameShown();
    }

    MpvEngine &engine_;
    QOffscreenSurface spare_; // for work with no window on screen
    QOpenGLContext context_;
    mpv_render_context *render_ = nullptr;
    std::atomic<bool> updatePosted_{false};
    bool unseenFrame_ = false; // mpv delivered a frame not yet drawn on screen
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
            // Frames are due when mpv hands them over: drawing never waits.
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
        view_ = new MpvVideoWindow(*this, mpv_);
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
    // No video track yet: Load chooses it while mpv waits (ChooseVideoTrack),
    // passing over cover pictures.
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
    if (seconds == 0 && untouched_)
        return; // already there: a seek would only restart decoding
    untouched_ = false;
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
                    if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0
                        && result.u.list->values[i].format == MPV_FORMAT_INT64)
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
            untouched_ = untouched_ && position_ <= 0;
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
        untouched_ = true;
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
    if (view_) {
        view_->ForgetFrame();
        view_->Clear();
    }
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

void MpvEngine::OnFrameShown()
{
    ++framesDrawn_;
    emit FrameDrawn();
}
