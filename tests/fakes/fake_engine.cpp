#include "fakes/fake_engine.h"

#include <QWidget>
#include <algorithm>
#include <utility>

FakeEngine::FakeEngine(QObject *parent) : PlaybackEngine(parent) {}

FakeEngine::~FakeEngine() { delete widget_.data(); }

QWidget *FakeEngine::VideoWidget()
{
    if (!widget_) {
        widget_ = new QWidget;
        widget_->setObjectName(QStringLiteral("FakePicture"));
    }
    return widget_;
}

bool FakeEngine::Load(const QString &path)
{
    calls_ << QStringLiteral("Load ") + path;
    Close();
    if (std::exchange(failNextLoad_, false)) {
        emit Failed(QStringLiteral("cannot render ") + path);
        return false;
    }
    path_ = path;
    duration_ = nextDuration_;
    picture_ = nextPicture_;
    state_ = State::Stopped;
    return true;
}

void FakeEngine::Run()
{
    calls_ << QStringLiteral("Run");
    if (state_ != State::Empty && position_ < duration_)
        state_ = State::Playing;
}

void FakeEngine::Pause()
{
    calls_ << QStringLiteral("Pause");
    if (state_ != State::Empty)
        state_ = State::Paused;
}

void FakeEngine::Stop()
{
    calls_ << QStringLiteral("Stop");
    if (state_ != State::Empty)
        state_ = State::Stopped;
}

void FakeEngine::Unload()
{
    calls_ << QStringLiteral("Unload");
    Close();
}

void FakeEngine::Seek(double seconds)
{
    calls_ << QStringLiteral("Seek ") + QString::number(seconds);
    if (state_ != State::Empty)
        position_ = std::clamp(seconds, 0.0, duration_);
}

void FakeEngine::Advance(double seconds)
{
    if (state_ != State::Playing)
        return;
    position_ = std::min(position_ + seconds, duration_);
    if (position_ >= duration_)
        FinishStream();
}

void FakeEngine::FinishStream()
{
    if (state_ == State::Empty)
        return;
    position_ = duration_;
    state_ = State::Stopped;
    emit EndOfStream();
}

void FakeEngine::FailPlayback(const QString &reason)
{
    Close();
    emit Failed(reason);
}

void FakeEngine::Close()
{
    path_.clear();
    duration_ = 0;
    position_ = 0;
    picture_ = QSize();
    state_ = State::Empty;
}
