// MpvEngine's side of mpv's event queue: one method per kind of event, each
// bringing the engine's picture of the open file up to date.

#include "media/mpv_engine.h"

#include "media/mpv_engine_internal.h"
#include "media/mpv_video_window.h"

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcMpv, "reelbox.media.mpv")

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

int64_t Int(const mpv_node *node)
{
    return node && node->format == MPV_FORMAT_INT64 ? node->u.int64 : 0;
}

bool Flag(const mpv_node *node)
{
    return node && node->format == MPV_FORMAT_FLAG && node->u.flag;
}

double Double(const mpv_node *node)
{
    return node && node->format == MPV_FORMAT_DOUBLE ? node->u.double_ : 0;
}

// A picture's size as shown, from mpv's width, height, pixel aspect and
// rotation under the given keys; empty when the size is not there.
QSize ShownSize(const mpv_node &map, const char *w, const char *h, const char *par, const char *rotation)
{
    const QSize stored(static_cast<int>(Int(Find(map, w))), static_cast<int>(Int(Find(map, h))));
    if (stored.isEmpty())
        return {};
    return ShownPictureSize(stored, Double(Find(map, par)), static_cast<int>(Int(Find(map, rotation))));
}

} // namespace

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
    HandleOne(event);
    AnnounceChanges();
}

void MpvEngine::HandleOne(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: OnLogMessage(*static_cast<mpv_event_log_message *>(event.data)); break;
    case MPV_EVENT_COMMAND_REPLY: OnCommandReply(event); break;
    case MPV_EVENT_START_FILE: OnStartFile(*static_cast<mpv_event_start_file *>(event.data)); break;
    case MPV_EVENT_HOOK: OnHook(*static_cast<mpv_event_hook *>(event.data)); break;
    case MPV_EVENT_GET_PROPERTY_REPLY: OnPropertyReply(event); break;
    case MPV_EVENT_FILE_LOADED: OnFileLoaded(); break;
    case MPV_EVENT_END_FILE: OnEndFile(*static_cast<mpv_event_end_file *>(event.data)); break;
    case MPV_EVENT_PROPERTY_CHANGE: OnPropertyChange(*static_cast<mpv_event_property *>(event.data)); break;
    case MPV_EVENT_SEEK: seekStarted_ = seekStarted_ || (seekPending_ && lastSeekAnswered_); break;
    case MPV_EVENT_PLAYBACK_RESTART: OnPlaybackRestart(); break;
    default: break;
    }
}

void MpvEngine::OnLogMessage(const mpv_event_log_message &message)
{
    qCWarning(lcMpv, "%s: %s", message.prefix, QByteArray(message.text).trimmed().constData());
}

void MpvEngine::OnCommandReply(const mpv_event &event)
{
    if (event.reply_userdata == loadTag_ && loading_ == Loading::Opening) {
        const mpv_node &result = static_cast<mpv_event_command *>(event.data)->result;
        if (event.error < 0) {
            Fail(MpvErrorText(event.error));
        } else {
            entry_ = Int(Find(result, "playlist_entry_id"));
            // libmpv without the reply field: the next file to start is ours
            // (mpv answers loadfile before it starts the file).
            entryFromNextStart_ = entry_ <= 0;
            if (entryFromNextStart_)
                entry_ = -1;
        }
    } else if (event.reply_userdata == lastSeekTag_ && !lastSeekAnswered_) {
        lastSeekAnswered_ = true;
        if (event.error < 0)
            seekPending_ = false; // refused: no restart will follow
    }
}

void MpvEngine::OnStartFile(const mpv_event_start_file &start)
{
    // A file that starts before our loadfile is answered is one we replaced.
    startedEntry_ = start.playlist_entry_id;
    if (loading_ == Loading::Opening && std::exchange(entryFromNextStart_, false))
        entry_ = start.playlist_entry_id;
}

void MpvEngine::OnHook(const mpv_event_hook &hook)
{
    // A hook concerns the file of the latest START_FILE: read ours while mpv
    // waits; let any other go on at once.
    if (loading_ == Loading::Opening && entry_ >= 0 && startedEntry_ == entry_) {
        loading_ = Loading::Reading;
        hook_ = hook.id;
        readsPending_ = 2;
        mpv_get_property_async(mpv_, mpv_tags::kDuration, "duration", MPV_FORMAT_DOUBLE);
        mpv_get_property_async(mpv_, mpv_tags::kTracks, "track-list", MPV_FORMAT_NODE);
    } else {
        mpv_hook_continue(mpv_, hook.id);
    }
}

void MpvEngine::OnPropertyReply(const mpv_event &event)
{
    const auto *property = static_cast<mpv_event_property *>(event.data);
    const bool ok = event.error >= 0 && property->format != MPV_FORMAT_NONE;
    if (event.reply_userdata == mpv_tags::kEof) {
        if (ok && !seekPending_ && loading_ == Loading::Loaded) {
            mpvAtEnd_ = *static_cast<int *>(property->data) != 0;
            CheckEnd();
        }
        return;
    }
    if (loading_ != Loading::Reading)
        return;
    if (event.reply_userdata == mpv_tags::kDuration)
        duration_ = ok ? *static_cast<double *>(property->data) : 0;
    else if (event.reply_userdata == mpv_tags::kTracks && ok)
        ChooseVideoTrack(*static_cast<mpv_node *>(property->data));
    else if (event.reply_userdata != mpv_tags::kTracks)
        return;
    if (--readsPending_ == 0)
        FinishReading();
}

void MpvEngine::FinishReading()
{
    // Where mpv starts the file: a start past the end stops at the end.
    position_ = duration_ > 0 ? std::min(start_, duration_) : start_;
    untouched_ = position_ <= 0;
    loading_ = Loading::Loaded;
    // Chosen while mpv still waits, the track starts with the file rather
    // than being switched on (and the file re-read) afterwards.
    EnableVideo();
    mpv_hook_continue(mpv_, hook_);
    // A picture the container does not size whole is sized by its first
    // frame (TakeVideoParams), within a limit.
    awaitingPicture_ = videoOn_ && !pictureFromContainer_;
    if (awaitingPicture_)
        openTimer_.start(mpv_limits::kPictureWaitMs);
    else
        CompleteOpening();
}

void MpvEngine::OnFileLoaded()
{
    // mpv announces its file loaded after the hook: ours, now open to seeks.
    if (loading_ != Loading::Loaded)
        return;
    fileLoaded_ = true;
    if (!seekHeld_)
        return;
    // The seek goes first, so that playback starts from its target.
    SendSeek();
    if (state_ == State::Playing)
        SetFlag("pause", false);
}

void MpvEngine::OnEndFile(const mpv_event_end_file &end)
{
    if (entry_ < 0 || end.playlist_entry_id != entry_)
        return; // an earlier file, or one we stopped ourselves
    if (loading_ == Loading::Opening || loading_ == Loading::Reading) {
        // Errors, and playlists (REDIRECT): we play the file, not what it lists.
        Fail(end.reason == MPV_END_FILE_REASON_ERROR ? MpvErrorText(end.error) : QStringLiteral("nothing to play"));
    } else if (end.reason == MPV_END_FILE_REASON_ERROR) {
        Fail(MpvErrorText(end.error));
    } else if (end.reason == MPV_END_FILE_REASON_EOF) {
        // keep-open normally holds the file at its end; this is the fallback.
        mpvAtEnd_ = true;
        CheckEnd();
    }
}

void MpvEngine::OnPropertyChange(const mpv_event_property &property)
{
    if (loading_ != Loading::Loaded)
        return;
    const QByteArray name(property.name);
    if (property.format == MPV_FORMAT_DOUBLE && name == "time-pos") {
        position_ = *static_cast<double *>(property.data);
        untouched_ = untouched_ && position_ <= 0;
    } else if (property.format == MPV_FORMAT_DOUBLE && name == "duration") {
        duration_ = *static_cast<double *>(property.data);
    } else if (property.format == MPV_FORMAT_FLAG && name == "eof-reached") {
        mpvAtEnd_ = *static_cast<int *>(property.data) != 0;
        if (!seekPending_) // else it may describe the place before the seek
            CheckEnd();
    } else if (property.format == MPV_FORMAT_FLAG && name == "paused-for-cache") {
        buffering_ = *static_cast<int *>(property.data) != 0;
    } else if (property.format == MPV_FORMAT_NODE && name == "video-params") {
        TakeVideoParams(*static_cast<mpv_node *>(property.data));
    }
}

void MpvEngine::TakeVideoParams(const mpv_node &params)
{
    // Until a frame is decoded mpv offers the container's width and height
    // alone: only a decoded frame's parameters (its pixel format among them)
    // tell the picture as it is shown.
    if (!Find(params, "pixelformat"))
        return;
    const QSize shown = ShownSize(params, "w", "h", "par", "rotate");
    if (shown.isEmpty())
        return;
    const bool changed = shown != picture_;
    picture_ = shown;
    if (awaitingPicture_)
        CompleteOpening();
    else if (changed && HasFile())
        emit PictureChanged();
}

void MpvEngine::OnPlaybackRestart()
{
    // Only the restart that follows the latest seek's reply and the start of
    // its carrying out is that seek's: earlier ones belong to earlier seeks,
    // or to the start of the file.
    if (!seekPending_ || !lastSeekAnswered_ || !seekStarted_)
        return;
    seekPending_ = false;
    position_ = seekTarget_;
    // A seek to the length is the end of the stream, paused or not: mpv holds
    // the last frame, whose time is short of the length (and of what the
    // players show as the length), and may not count it as the end while paused.
    if (Duration() > 0 && seekTarget_ >= Duration()) {
        endBySeek_ = true;
        mpvAtEnd_ = true;
        CheckEnd();
        return;
    }
    // An end heard while seeking may be stale: ask again, now.
    if (mpvAtEnd_)
        mpv_get_property_async(mpv_, mpv_tags::kEof, "eof-reached", MPV_FORMAT_FLAG);
}

void MpvEngine::ChooseVideoTrack(const mpv_node &tracks)
{
    // The track mpv itself would take: the first marked default, else the
    // first; cover pictures of sound files are not video.
    videoTrack_ = 0;
    picture_ = QSize();
    pictureFromContainer_ = false;
    TurnUpright(0);
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
    // What the container tells: enough with the pixel aspect too (MPEG
    // program streams keep theirs in the video, MP4 may not even tell the
    // size); the first frame's parameters correct it should it be wrong.
    picture_ = ShownSize(*chosen, "demux-w", "demux-h", "demux-par", "demux-rotation");
    TurnUpright(static_cast<int>(Int(Find(*chosen, "demux-rotation"))));
    pictureFromContainer_ = !picture_.isEmpty() && Find(*chosen, "demux-par");
}
