#pragma once
// The one player behind RealAudio controls that share a console name: it holds
// the source, reads a metafile source into its clips, plays them one after
// the other on the playback engine, and tells its controls what happens, as
// the control's play-state numbers, a notification per clip opened, and the
// position. The controls show its parts (picture, slider, status bar) and
// pass the host's commands on. GUI thread only.

#include "media/playback_engine.h"
#include "media/real_metafile.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <optional>

// The control's play states.
enum RealPlayState : qint32 {
    RealStopped = 0,
    RealConnecting = 1,
    RealBuffering = 2,
    RealPlaying = 3,
    RealPaused = 4,
    RealSeeking = 5,
};

// The play state that stands for what the engine is doing, or none where that
// alone says nothing (no file, or a file opened but not yet played, or at its
// end: the console itself decides when playback has stopped).
std::optional<qint32> RealPlayStateOf(PlaybackEngine::State state, bool buffering, bool seeking);

// The clips a source names: "file://" followed by a path taken byte for byte
// (no URL decoding), the entries of the metafile when that path names one;
// a network URL as it is, a URL of any other scheme not at all; anything
// else as a path.
QList<MetafileEntry> ClipsOfSource(const QString &source);

// A clip of a source as the player names it.
struct RealClip
{
    qsizetype index = 0; // its place among the source's clips
    QString source;      // as MetafileEntry
    QString title;       // the file's name as the user reads it, or a URL's last part
};

class RealAudioConsole : public QObject
{
    Q_OBJECT
public:
    explicit RealAudioConsole(PlaybackEngine &engine);
    // Closes whatever it opened on the engine.
    ~RealAudioConsole() override;

    PlaybackEngine *Engine() const { return engine_; }

    QString Source() const { return source_; }
    // A new source stops what plays; the next Play starts it.
    void SetSource(const QString &source);
    // The next Play of a source that names one clip starts it `seconds` in.
    void StartAt(double seconds) { startAt_ = seconds; }
    // Starts the source from its first clip, or resumes a paused clip.
    void Play();
    // Pauses the clip; a clip still opening opens paused.
    void Pause();
    // Moves within the current clip, in seconds.
    void Seek(double seconds);

    // The latest play state told (0 before the first Play).
    qint32 PlayState() const { return reported_.value_or(RealStopped); }
    double Position() const;
    double Length() const;
    // The clip playing or opening now; none before Play and after the last.
    std::optional<RealClip> CurrentClip() const;
    // The current clip's picture size; none before it opened, or without video.
    std::optional<QSize> ClipSize() const;

signals:
    // The play state changed to `state` (a RealPlayState). 0 comes once the
    // last clip has ended, or when none could be played.
    void PlayStateChange(qint32 state);
    // A clip is open and its picture size can be read: its title and URL.
    // Told again should the picture get its size only later, or a new one.
    void ClipOpened(const QString &title, const QString &url);
    // The position within the current clip, and its length, in seconds.
    void PositionChange(double position, double length);

private:
    void Advance();
    void AnnounceClip();
    void Finish();
    void Report(qint32 state);
    void OnStateChanged();
    void OnOpened();
    void OnPosition(double seconds);

    QPointer<PlaybackEngine> engine_;
    QString source_;
    QList<MetafileEntry> clips_;
    qsizetype current_ = -1; // the clip playing or opening; -1 when none
    bool active_ = false;    // between Play and the final 0
    bool wantPlaying_ = true;
    bool usedEngine_ = false;
    std::optional<qint32> reported_;
    double startAt_ = 0;
};
