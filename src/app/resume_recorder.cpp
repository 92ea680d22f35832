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
    started_ = false;
    connections_ = {
        connect(&engine, &PlaybackEngine::StateChanged, this, &ResumeRecorder::OnStateChanged),
        connect(&engine, &PlaybackEngine::PositionChanged, this, &ResumeRecorder::OnPosition),
        connect(&engine, &PlaybackEngine::EndOfStream, this,
                [this] {
                    point_.position = point_.duration = engine_->Duration();
                    Write();
                }),
    };
}

void ResumeRecorder::Stopped()
{
    for (const QMetaObject::Connection &connection : connections_)
        disconnect(connection);
    connections_.clear();
    if (started_)
        Write();
    periodic_.stop();
    engine_ = nullptr;
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

void ResumeRecorder::Write()
{
    if (!identity_)
        return;
    point_.watched = CountsAsWatched(point_.position, point_.duration);
    store_.SaveFile(path_, *identity_, point_);
}
