#include "app/resume_recorder.h"

#include "media/playback_engine.h"

namespace {
constexpr int WriteIntervalMs = 10000;
} // namespace

ResumeRecorder::ResumeRecorder(ResumeStore &store, QObject *parent)
    : QObject(parent)
    , store_(store)
{
    periodic_.setInterval(WriteIntervalMs);
    connect(&periodic_, &QTimer::timeout, this, &ResumeRecorder::Write);
}

void ResumeRecorder::Playing(const QString &path, PlaybackEngine &engine)
{
    Stopped();
    engine_ = &engine;
    path_ = path;
    identity_ = IdentityOf(path);
    point_ = {};
    connections_ = {
        connect(&engine, &PlaybackEngine::StateChanged, this, &ResumeRecorder::OnStateChanged),
        connect(&engine, &PlaybackEngine::PositionChanged, this, &ResumeRecorder::OnPosition),
        connect(&engine, &PlaybackEngine::EndOfStream, this, &ResumeRecorder::OnEndOfStream),
    };
}

void ResumeRecorder::Stopped()
{
    if (started_)
        Write();
    StopListening();
    engine_ = nullptr;
}

void ResumeRecorder::PlayingInList(const QString &list, const ListPoint &place)
{
    list_ = list;
    listPlace_ = place;
}

void ResumeRecorder::NotInList()
{
    list_.clear();
}

void ResumeRecorder::StopListening()
{
    for (const QMetaObject::Connection &connection : connections_)
        disconnect(connection);
    connections_.clear();
    periodic_.stop();
    started_ = false;
}

void ResumeRecorder::OnStateChanged()
{
    const PlaybackEngine::State state = engine_->PlayState();
    if (state == PlaybackEngine::State::Playing && !started_) {
        started_ = true;
        point_.position = engine_->Position();
        point_.duration = engine_->Duration();
        Write();
        periodic_.start();
    } else if (started_ && (state == PlaybackEngine::State::Paused || state == PlaybackEngine::State::Stopped)) {
        Write();
    }
}

void ResumeRecorder::OnPosition(double seconds)
{
    const PlaybackEngine::State state = engine_->PlayState();
    if (!started_ || state == PlaybackEngine::State::Empty || state == PlaybackEngine::State::Opening)
        return; // the 0 of a file closing or opening is not where it was left
    point_.position = seconds;
    if (engine_->Duration() > 0)
        point_.duration = engine_->Duration();
}

// The file has played to its end: that is its last word, the window's close adds none.
void ResumeRecorder::OnEndOfStream()
{
    point_.position = point_.duration = engine_->Duration();
    Write();
    StopListening();
}

void ResumeRecorder::Write()
{
    if (!identity_)
        return;
    point_.watched = CountsAsWatched(point_.position, point_.duration);
    store_.SaveFile(path_, *identity_, point_);
    if (list_.isEmpty() || listPlace_.path != path_)
        return;
    listPlace_.position = point_.position;
    listPlace_.duration = point_.duration;
    store_.SaveList(list_, listPlace_);
}
