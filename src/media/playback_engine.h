#pragma once
// The playback engine the player windows are written against: one file at a
// time, opened either in one call (Load: its length and picture size can be
// read the moment Load returns, before any window is shown) or in the
// background (Open: the caller hears of it through Opened or Failed), then
// run, paused, stopped and sought, louder or softer, with its picture drawn
// into a widget the window places. It reports what it is doing (opening, playing, paused,
// waiting for its source, seeking) and where it is, as it changes.
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
    // Empty: no file open. Opening: Open is under way. Stopped: open, not
    // advancing (after opening, Stop and the end of the stream). Paused: open,
    // held by Pause. Playing: advancing.
    enum class State { Empty, Opening, Stopped, Paused, Playing };

    using QObject::QObject;

    // Opens path, dropping any file open before, and returns once it is ready,
    // Stopped at start seconds (clamped to the file), where the first frame
    // is decoded and Position() stands from then on. Meanwhile windows are painted and timers and
    // queued calls run, but user input waits until Load returns. A file that
    // cannot be opened within a few seconds counts as unplayable. False, after
    // Failed was emitted, when it cannot be played; false too, at once, when
    // what runs meanwhile gives the open up (Unload, or Open of another file).
    virtual bool Load(const QString &path, double start = 0) = 0;
    // Starts opening path, dropping any file open before, and returns at once,
    // Opening. Opened follows once the file is ready (Stopped at start, as
    // for Load), or Failed; Failed may come before Open returns when the
    // engine cannot work at all.
    virtual void Open(const QString &path, double start = 0) = 0;
    // Starts or resumes playback from Position(); nothing while Empty or Opening.
    virtual void Run() = 0;
    // Holds playback at Position() with its picture shown; nothing while Empty or Opening.
    virtual void Pause() = 0;
    // Halts playback and keeps Position() (Run goes on from it); nothing while Empty or Opening.
    virtual void Stop() = 0;
    // Closes the file (or gives up opening it): playback ends at once and the engine is Empty.
    virtual void Unload() = 0;
    // Moves to `seconds`, clamped to [0, Duration()]; Position() reads the
    // target at once. Seeking back from the end clears the end of the stream.
    virtual void Seek(double seconds) = 0;
    // The loudness, 0 (silent) to 1 (the file's own), for the file open now
    // and every file opened after; 1 until set. Any state.
    virtual void SetVolume(double level) = 0;

    // Seconds from the start of the file; Duration() at the end of the stream;
    // 0 while Empty or Opening.
    virtual double Position() const = 0;
    // Length of the file in seconds, valid once opened; 0 while Empty, Opening
    // or unknown. It can change while the file plays (a file still being
    // written, a length only estimated at first).
    virtual double Duration() const = 0;
    // Size of the picture in pixels as it is shown (non-square pixels and a
    // rotation applied), valid once opened; empty without video.
    virtual QSize PictureSize() const = 0;
    virtual State PlayState() const = 0;
    // True while playback waits for its source to deliver (a stream over the
    // network filling its cache); the state stays Playing or Paused meanwhile.
    virtual bool Buffering() const = 0;
    // True from a Seek until playback goes on from its target.
    virtual bool Seeking() const = 0;
    // The widget the picture is drawn in, for the caller to parent and place;
    // the engine deletes it. Should a parent delete it first, the next call
    // makes a new one.
    virtual QWidget *VideoWidget() = 0;

signals:
    // The file being opened is ready: length and picture size can be read.
    // Follows every successful open, by Open or by Load.
    void Opened();
    // PictureSize() changed after Opened: a picture known only once decoding
    // is well under way, or one that changes its size while playing.
    void PictureChanged();
    // Playback reached the end of the open file (after its last frame); the
    // engine is then Stopped with Position() == Duration(). Once per arrival.
    void EndOfStream();
    // The file could not be opened, or playback broke off; `reason` is for
    // logs. Emitted by a failing Load too; the engine is Empty afterwards.
    void Failed(const QString &reason);
    // PlayState(), Buffering() or Seeking() changed. Announced before the
    // Opened, EndOfStream or Failed that goes with the change.
    void StateChanged();
    // Position() changed: while playing (at every new frame or so), by a seek,
    // at the end of the stream, and back to 0 when a file closes.
    void PositionChanged(double seconds);

protected:
    // Emits StateChanged and PositionChanged for whatever changed since they
    // were last emitted. Engines call it after each change of their own.
    void AnnounceChanges();

private:
    State announcedState_ = State::Empty;
    bool announcedBuffering_ = false;
    bool announcedSeeking_ = false;
    double announcedPosition_ = 0;
};

// The size a picture `stored` pixels large is shown at: stretched along one
// side by its pixel aspect ratio (width : height of one pixel; rounded up to
// whole pixels), then turned by `rotation` degrees (a quarter turn swaps the
// sides). A 720 x 480 picture of 32:27 pixels shows as 854 x 480.
QSize ShownPictureSize(QSize stored, double pixelAspect, int rotation);
