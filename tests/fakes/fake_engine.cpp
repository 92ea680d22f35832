#include "fakes/fake_engine.h"

#include <QWidget>
#include <algorithm>
#include <utility>

FakeEngine::FakeEngine(QObject *parent)
    : PlaybackEngine(parent)
{
}

FakeEngine::~FakeEngine()
{
    delete widget_.data();
}

QWidget *FakeEngine::VideoWidget()
{
    if (!widget_) {
        widget_ = new QWidget;
        widget_->setObjectName(QStringLiteral("FakePicture"));
    }
    return widget_;
}

QString FakeEngine::Opening(const QString &call, const QString &path, double start)
{
    return call + u' ' + path + (start > 0 ? QStringLiteral(" at ") + QString::number(start) : QString());
}

bool FakeEngine::Load(const QString &path, double start)
{
    calls_ << Opening(QStringLiteral("Load"), path, start);
    Close();
    return TakeOpen(path, start);
}

void FakeEngine::Open(const QString &path, double start)
{
    calls_ << Opening(QStringLiteral("Open"), path, start);
    Close();
    opening_ = path;
    openingStart_ = start;
    state_ = State::Opening;
    AnnounceChanges();
}

void FakeEngine::FinishOpening()
{
    if (state_ == State::Opening)
        TakeOpen(std::exchange(opening_, QString()), openingStart_);
}

bool FakeEngine::TakeOpen(const QString &path, double start)
{
    if (std::exchange(failNextLoad_, false)) {
        Close();
        emit Failed(QStringLiteral("cannot render ") + path);
        return false;
    }
    path_ = path;
    duration_ = nextDuration_;
    position_ = std::clamp(start, 0.0, duration_);
    picture_ = nextPicture_;
    state_ = State::Stopped;
    AnnounceChanges();
    emit Opened();
    return true;
}

void FakeEngine::Run()
{
    calls_ << QStringLiteral("Run");
    if (HasFile() && (position_ < duration_ || duration_ <= 0)) // 0: a length not known
        state_ = State::Playing;
    AnnounceChanges();
}

void FakeEngine::Pause()
{
    calls_ << QStringLiteral("Pause");
    if (HasFile())
        state_ = State::Paused;
    AnnounceChanges();
}

void FakeEngine::Stop()
{
    calls_ << QStringLiteral("Stop");
    if (HasFile())
        state_ = State::Stopped;
    AnnounceChanges();
}

void FakeEngine::Unload()
{
    calls_ << QStringLiteral("Unload");
    Close();
}

void FakeEngine::Seek(double seconds)
{
    calls_ << QStringLiteral("Seek ") + QString::number(seconds);
    if (HasFile())
        position_ = std::clamp(seconds, 0.0, duration_);
    AnnounceChanges();
}

void FakeEngine::SetBuffering(bool buffering)
{
    buffering_ = buffering;
    AnnounceChanges();
}

void FakeEngine::SetSeeking(bool seeking)
{
    seeking_ = seeking;
    AnnounceChanges();
}

void FakeEngine::ChangeDuration(double seconds)
{
    if (HasFile())
        duration_ = seconds;
}

void FakeEngine::ChangePicture(QSize size)
{
    if (!HasFile())
        return;
    picture_ = size;
    emit PictureChanged();
}

void FakeEngine::Advance(double seconds)
{
    if (state_ != State::Playing)
        return;
    position_ += seconds;
    if (duration_ > 0)
        position_ = std::min(position_, duration_);
    AnnounceChanges();
    if (duration_ > 0 && position_ >= duration_)
        FinishStream();
}

void FakeEngine::FinishStream()
{
    if (!HasFile())
        return;
    position_ = duration_;
    state_ = State::Stopped;
    AnnounceChanges();
    emit EndOfStream();
}

void FakeEngine::FailPlayback(const QString &reason)
{
    Close();
    emit Failed(reason);
}

void FakeEngine::Close()
{
    opening_.clear();
    path_.clear();
    duration_ = 0;
    position_ = 0;
    picture_ = QSize();
    state_ = State::Empty;
    buffering_ = false;
    seeking_ = false;
    AnnounceChanges();
}
