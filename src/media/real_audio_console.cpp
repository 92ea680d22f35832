#include "media/real_audio_console.h"

#include "base/file_kinds.h"
#include "base/file_names.h"
#include "base/url_scheme.h"
#include "media/media_source.h"

#include <QFileInfo>

namespace {

const QString FileScheme = QStringLiteral("file://");

} // namespace

std::optional<qint32> RealPlayStateOf(PlaybackEngine::State state, bool buffering, bool seeking)
{
    using State = PlaybackEngine::State;
    if (state == State::Opening)
        return RealConnecting;
    if (state != State::Playing && state != State::Paused)
        return std::nullopt;
    if (seeking)
        return RealSeeking;
    if (buffering)
        return RealBuffering;
    return state == State::Playing ? RealPlaying : RealPaused;
}

QList<MetafileEntry> ClipsOfSource(const QString &source)
{
    QString path = source;
    if (source.startsWith(FileScheme, Qt::CaseInsensitive))
        path = source.mid(FileScheme.size());
    else if (!UrlScheme(source).isEmpty())
        return IsNetworkStreamUrl(source) ? QList<MetafileEntry>{{source, std::nullopt, std::nullopt}}
                                          : QList<MetafileEntry>{};
    if (path.isEmpty())
        return {};
    if (IsMetafileName(path))
        return ReadMetafile(path);
    return {{path, std::nullopt, std::nullopt}};
}

RealAudioConsole::RealAudioConsole(PlaybackEngine &engine)
    : engine_(&engine)
{
    connect(&engine, &PlaybackEngine::StateChanged, this, &RealAudioConsole::OnStateChanged);
    connect(&engine, &PlaybackEngine::Opened, this, &RealAudioConsole::OnOpened);
    // A picture sized only now is the clip's news again: its size can be read.
    connect(&engine, &PlaybackEngine::PictureChanged, this, [this] {
        if (active_ && current_ >= 0 && engine_->PlayState() != PlaybackEngine::State::Opening)
            AnnounceClip();
    });
    connect(&engine, &PlaybackEngine::PositionChanged, this, &RealAudioConsole::OnPosition);
    // The end of a clip, or one that cannot be played: on to the next.
    connect(&engine, &PlaybackEngine::EndOfStream, this, [this] {
        if (active_)
            Advance();
    });
    connect(&engine, &PlaybackEngine::Failed, this, [this] {
        if (active_)
            Advance();
    });
}

RealAudioConsole::~RealAudioConsole()
{
    if (!engine_)
        return;
    engine_->disconnect(this); // closing the clip is no news to anyone now
    if (usedEngine_)
        engine_->Unload();
}

void RealAudioConsole::SetSource(const QString &source)
{
    source_ = source;
    if (!active_)
        return;
    active_ = false;
    current_ = -1;
    if (engine_)
        engine_->Unload();
}

void RealAudioConsole::Play()
{
    wantPlaying_ = true;
    if (!active_) {
        active_ = true;
        usedEngine_ = true;
        clips_ = ClipsOfSource(source_);
        if (clips_.size() == 1 && !clips_[0].start && startAt_ > 0)
            clips_[0].start = startAt_;
        startAt_ = 0;
        current_ = -1;
        Advance();
        return;
    }
    if (engine_)
        engine_->Run(); // nothing while the clip opens: it opens playing
}

void RealAudioConsole::Pause()
{
    wantPlaying_ = false;
    if (active_ && engine_)
        engine_->Pause();
}

void RealAudioConsole::Seek(double seconds)
{
    if (active_ && engine_)
        engine_->Seek(seconds);
}

double RealAudioConsole::Position() const
{
    return engine_ ? engine_->Position() : 0;
}

double RealAudioConsole::Length() const
{
    return engine_ ? engine_->Duration() : 0;
}

std::optional<QSize> RealAudioConsole::ClipSize() const
{
    if (!active_ || !engine_ || engine_->PictureSize().isEmpty())
        return std::nullopt;
    return engine_->PictureSize();
}

// Opens the next clip, or finishes after the last. The engine may report a
// failure before Open returns, which comes back here: nothing may follow the
// Open call.
void RealAudioConsole::Advance()
{
    if (!engine_ || ++current_ >= clips_.size()) {
        Finish();
        return;
    }
    engine_->Open(clips_[current_].source);
}

void RealAudioConsole::Finish()
{
    active_ = false;
    current_ = -1;
    reported_.reset(); // told even where 0 was the last word
    Report(RealStopped);
}

void RealAudioConsole::Report(qint32 state)
{
    if (reported_ == state)
        return;
    reported_ = state;
    emit PlayStateChange(state);
}

void RealAudioConsole::OnStateChanged()
{
    if (!active_)
        return;
    if (const std::optional<qint32> state =
            RealPlayStateOf(engine_->PlayState(), engine_->Buffering(), engine_->Seeking()))
        Report(*state);
}

void RealAudioConsole::OnOpened()
{
    if (!active_ || current_ < 0)
        return;
    const MetafileEntry clip = clips_[current_];
    AnnounceClip();
    if (!active_ || !engine_)
        return; // a listener closed the player
    if (clip.start)
        engine_->Seek(*clip.start);
    if (wantPlaying_)
        engine_->Run();
    else
        engine_->Pause();
}

std::optional<RealClip> RealAudioConsole::CurrentClip() const
{
    if (!active_ || current_ < 0)
        return std::nullopt;
    const QString &source = clips_[current_].source;
    const bool local = UrlScheme(source).isEmpty();
    return RealClip{current_, source,
                    local ? DisplayFileName(QFileInfo(source).fileName()) : source.section(QLatin1Char('/'), -1)};
}

void RealAudioConsole::AnnounceClip()
{
    const RealClip clip = *CurrentClip();
    emit ClipOpened(clip.title, UrlScheme(clip.source).isEmpty() ? FileScheme + clip.source : clip.source);
}

void RealAudioConsole::OnPosition(double seconds)
{
    emit PositionChange(seconds, Length());
    if (!active_ || current_ < 0 || engine_->PlayState() != PlaybackEngine::State::Playing)
        return;
    const std::optional<double> end = clips_[current_].end;
    if (end && seconds >= *end) {
        engine_->Stop();
        Advance();
    }
}
