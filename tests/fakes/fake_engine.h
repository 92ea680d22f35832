#pragma once
// A playback engine for tests: nothing is decoded and no time passes by
// itself. The test sets the length and picture size of the files it "loads",
// finishes background opens, moves the clock with Advance, ends the stream or
// makes a load or playback fail on cue, holds the engine in buffering or
// seeking, and reads back which calls the code under test made.

#include "media/playback_engine.h"

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
    // Makes the next Load, or the open finished next, fail (Failed is emitted).
    void FailLoad() { failNextLoad_ = true; }
    // Ends the open started by Open: Opened (Stopped at the start), or Failed
    // after FailLoad. Nothing unless Opening.
    void FinishOpening();
    // Moves the clock `seconds` on; only a Playing file advances. Reaching
    // the end stops there and emits EndOfStream (never for a length of 0,
    // which is not known).
    void Advance(double seconds);
    // Plays the open file to its end at once (EndOfStream, Stopped at Duration()).
    void FinishStream();
    // Playback breaks off: Failed is emitted and the engine is Empty.
    void FailPlayback(const QString &reason = QStringLiteral("broken stream"));
    // Holds the engine waiting for its source, or for a seek to be carried out.
    void SetBuffering(bool buffering);
    void SetSeeking(bool seeking);
    // The open file's length becomes known or grows; its picture gets a size
    // only now, or a new one (PictureChanged).
    void ChangeDuration(double seconds);
    void ChangePicture(QSize size);

    // The calls made so far, in order: "Load <path>", "Open <path>" (each
    // followed by " at <seconds>" for a later start), "Run", "Pause", "Stop",
    // "Seek <seconds>", "Unload".
    const QStringList &Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    QString LoadedPath() const { return path_; }

    bool Load(const QString &path, double start = 0) override;
    void Open(const QString &path, double start = 0) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void Unload() override;
    void Seek(double seconds) override;
    void SetVolume(double level) override { volume_ = level; }
    double Volume() const { return volume_; }
    double Position() const override { return position_; }
    double Duration() const override { return duration_; }
    QSize PictureSize() const override { return picture_; }
    State PlayState() const override { return state_; }
    bool Buffering() const override { return buffering_; }
    bool Seeking() const override { return seeking_; }
    QWidget *VideoWidget() override;

private:
    bool HasFile() const { return state_ != State::Empty && state_ != State::Opening; }
    void Close();
    bool TakeOpen(const QString &path, double start);
    static QString Opening(const QString &call, const QString &path, double start);

    double nextDuration_ = 60;
    QSize nextPicture_{320, 240};
    bool failNextLoad_ = false;
    QString opening_;
    double openingStart_ = 0;
    QString path_;
    double duration_ = 0;
    double position_ = 0;
    QSize picture_;
    State state_ = State::Empty;
    bool buffering_ = false;
    bool seeking_ = false;
    double volume_ = 1;
    QStringList calls_;
    QPointer<QWidget> widget_;
};
