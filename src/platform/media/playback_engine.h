#pragma once
// The playback engine the player windows are written against: one file at a
// time, opened synchronously so that its length and picture size can be read
// the moment Load returns (before any window is shown), then run, paused,
// stopped and sought, with its picture drawn into a widget the window places.
// Every member is called on the GUI thread and every signal is emitted there.
// MpvEngine plays for real; tests drive FakeEngine, whose clock they move.

#include <QObject>
#include <QSize>
#include <QString>

class QWidget;

class PlaybackEngine : public QObject
{
    Q_OBJECT
public:
    // Empty: no file open. Stopped: open, not advancing (after Load, Stop and
    // the end of the stream). Paused: open, held by Pause. Playing: advancing.
    enum class State { Empty, Stopped, Paused, Playing };

    using QObject::QObject;

    // Opens path, dropping any file open before, and returns once it is ready,
    // Stopped at its start (blocks for at most a few seconds, handles no user
    // input). False, after Failed was emitted, when it cannot be played.
    virtual bool Load(const QString &path) = 0;
    // Starts or resumes playback from Position(); nothing while Empty.
    virtual void Run() = 0;
    // Holds playback at Position() with its picture shown; nothing while Empty.
    virtual void Pause() = 0;
    // Halts playback and keeps Position() (Run goes on from it); nothing while Empty.
    virtual void Stop() = 0;
    // Closes the file: playback ends at once and the engine is Empty.
    virtual void Unload() = 0;
    // Moves to `seconds`, clamped to [0, Duration()]; Position() reads the
    // target at once. Seeking back from the end clears the end of the stream.
    virtual void Seek(double seconds) = 0;

    // Seconds from the start of the file; Duration() at the end of the stream; 0 while Empty.
    virtual double Position() const = 0;
    // Length of the file in seconds, valid once Load succeeded; 0 while Empty or unknown.
    virtual double Duration() const = 0;
    // Size of the picture in pixels, valid once Load succeeded; empty without video.
    virtual QSize PictureSize() const = 0;
    virtual State PlayState() const = 0;
    // The widget the picture is drawn in, for the caller to parent and place;
    // the engine deletes it. Should a parent delete it first, the next call
    // makes a new one.
    virtual QWidget *VideoWidget() = 0;

signals:
    // Playback reached the end of the open file (after its last frame); the
    // engine is then Stopped with Position() == Duration(). Once per arrival.
    void EndOfStream();
    // The file could not be opened, or playback broke off; `reason` is for
    // logs. Emitted by a failing Load too; the engine is Empty afterwards.
    void Failed(const QString &reason);
};
