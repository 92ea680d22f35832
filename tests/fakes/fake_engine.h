#pragma once
// A playback engine for tests: nothing is decoded and no time passes by
// itself. The test sets the length and picture size of the files it "loads",
// moves the clock with Advance, ends the stream or makes a load or playback
// fail on cue, and reads back which calls the code under test made.

#include "platform/media/playback_engine.h"

#include <QPointer>
#include <QStringList>

class FakeEngine : public PlaybackEngine
{
    Q_OBJECT
public:
    explicit FakeEngine(QObject *parent = nullptr);
    ~FakeEngine() override;

    // What the next loads give: length in seconds and picture size (empty: no video).
    void SetDuration(double seconds) { nextDuration_ = seconds; }
    void SetPictureSize(QSize size) { nextPicture_ = size; }
    // Makes the next Load fail (Failed is emitted, Load returns false).
    void FailLoad() { failNextLoad_ = true; }
    // Moves the clock `seconds` on; only a Playing file advances. Reaching
    // the end stops there and emits EndOfStream.
    void Advance(double seconds);
    // Plays the open file to its end at once (EndOfStream, Stopped at Duration()).
    void FinishStream();
    // Playback breaks off: Failed is emitted and the engine is Empty.
    void FailPlayback(const QString &reason = QStringLiteral("broken stream"));

    // The calls made so far, in order: "Load <path>", "Run", "Pause", "Stop",
    // "Seek <seconds>", "Unload".
    const QStringList &Calls() const { return calls_; }
    QString LoadedPath() const { return path_; }

    bool Load(const QString &path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void Unload() override;
    void Seek(double seconds) override;
    double Position() const override { return position_; }
    double Duration() const override { return duration_; }
    QSize PictureSize() const override { return picture_; }
    State PlayState() const override { return state_; }
    QWidget *VideoWidget() override;

private:
    void Close();

    double nextDuration_ = 60;
    QSize nextPicture_{320, 240};
    bool failNextLoad_ = false;
    QString path_;
    double duration_ = 0;
    double position_ = 0;
    QSize picture_;
    State state_ = State::Empty;
    QStringList calls_;
    QPointer<QWidget> widget_;
};
