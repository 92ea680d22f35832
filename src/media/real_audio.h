#pragma once
// RealAudio: the player control that windows host, as
// RealAudioObjectsCtl.RealAudio was hosted. Each instance shows one part of a
// player, named by its Controls value: "imagewindow" (the picture),
// "PositionSlider" (the position, dragged or clicked to seek) or "StatusBar"
// (the play state and the time). Instances in one window with the same
// Console name are one player: one clip on one engine, whichever instance a
// command goes to.
//
// Hosts reach its members late-bound, by dispatch identifier, through
// Invoke; the table in real_audio.cpp maps each identifier to the member it
// stands for, which C++ callers may call directly. Its notifications (play
// state, clip opened) are always delivered from the event loop, never inside
// the call that caused them. GUI thread only.

#include "media/real_audio_console.h"

#include <QColor>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <optional>

class RealPositionSlider;
class RealStatusBar;

class RealAudio : public QWidget
{
    Q_OBJECT
public:
    enum class InvokeKind { Method, PropertyGet, PropertyPut };

    // An instance playing through engine; it shows nothing until its Controls is set.
    explicit RealAudio(PlaybackEngine &engine, QWidget *parent = nullptr);
    ~RealAudio() override;

    // The stored configuration. Controls: which part this instance shows
    // (matched without regard to case; other values show only the background).
    // Console: instances of one window with the same name share one player;
    // an instance without one plays on its own. BackgroundColor: "#RRGGBB".
    QString Controls() const { return controls_; }
    void SetControls(const QString &part);
    QString Console() const { return consoleName_; }
    void SetConsole(const QString &name);
    QString BackgroundColor() const { return background_.name().toUpper(); }
    void SetBackgroundColor(const QString &colour);

    // Late-bound access: the member `dispid` stands for, called as a method,
    // read as a property or given `argument`. None when there is no such
    // member or it has no value to give (as a failed call).
    std::optional<QVariant> Invoke(qint32 dispid, InvokeKind kind, const QVariant &argument = {});
    bool Call(qint32 dispid) { return Invoke(dispid, InvokeKind::Method).has_value(); }
    std::optional<QVariant> PropertyGet(qint32 dispid) { return Invoke(dispid, InvokeKind::PropertyGet); }
    bool PropertyPut(qint32 dispid, const QVariant &value)
    {
        return Invoke(dispid, InvokeKind::PropertyPut, value).has_value();
    }

    // The members, as the dispatch table names them.
    QString Source() const;
    // The clip or metafile to play: "file://" and a path, or a URL.
    void SetSource(const QString &source);
    // The next play of a source that names one clip starts it `seconds` in.
    void StartAt(double seconds);
    void DoPlay();
    void DoPause();
    // The clip's picture size in pixels; none before it opened, or without video.
    std::optional<int> ClipWidth() const;
    std::optional<int> ClipHeight() const;
    // From now on the picture keeps its clip's proportions, centred on the
    // background, rather than filling the instance.
    void KeepAspectRatio();

    // The clip the player plays or opens now (none while it plays nothing).
    std::optional<RealClip> CurrentClip() const;
    // The player's play state (a RealPlayState).
    qint32 PlayState() const;
    bool KeepsAspectRatio() const { return keepAspect_; }
    // The views of the slider and status-bar parts (null for other parts).
    RealPositionSlider *Slider() const { return slider_; }
    RealStatusBar *StatusBar() const { return statusBar_; }

signals:
    // Notifications: the play state changed (RealPlayState numbers); a clip
    // opened and its picture size can be read (its title and URL).
    void PlayStateChange(qint32 state);
    void ClipOpened(const QString &title, const QString &url);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    RealAudioConsole &Player();
    void Join(std::shared_ptr<RealAudioConsole> console);
    void ShowPart();
    void ShowPosition(double position, double length);
    void TakePicture();
    void ReleasePicture();
    void PlacePicture();
    bool ShowsPart(const char *part) const;

    PlaybackEngine &engine_;
    QString controls_;
    QString consoleName_;
    QColor background_ = Qt::black;
    std::shared_ptr<RealAudioConsole> console_;
    QPointer<QWidget> picture_; // the engine's picture, while this instance shows it
    RealPositionSlider *slider_ = nullptr;
    RealStatusBar *statusBar_ = nullptr;
    bool keepAspect_ = false;
};
