#pragma once
// The playback engine on libmpv: FFmpeg's demuxers and decoders (avi, wmv,
// asf, mpeg, VCD .dat, RealMedia ...), hardware decoding where the machine
// offers it, sound through the desktop's sound server (silence where there is
// none), and the picture drawn through mpv's render API into a QOpenGLWidget.
//
// Load opens the file with its video track off, waits on mpv's own event
// queue (no Qt event loop runs, so nothing re-enters the caller) until mpv has
// opened it, and reads the length and the demuxer's picture size; so both are
// known before any window is shown. The video track is switched on as soon as
// the widget has its GL context, which Qt gives it when its window is first
// shown (a context made earlier cannot reach the screen in Qt 6.4), so the
// first frame is decoded straight into the visible window. A widget that
// moves to another top-level window gets a new context; the video follows.
// mpv's threads only post queued calls; all the rest runs on the GUI thread.
// This is the only file pair that sees the mpv headers.

#include "platform/media/playback_engine.h"

#include <QPointer>
#include <atomic>
#include <cstdint>

struct mpv_handle;
struct mpv_event;
struct mpv_node;
class MpvVideoView;

struct MpvEngineOptions
{
    // false: frames are decoded but not drawn (vo=null) and VideoWidget() is a
    // plain black widget; for tests and hosts that need no picture.
    bool drawVideo = true;
    // true: play as fast as decoding allows, sound going to the null output;
    // for tests that play files to their end.
    bool untimed = false;
};

class MpvEngine : public PlaybackEngine
{
    Q_OBJECT
public:
    explicit MpvEngine(MpvEngineOptions options = {}, QObject *parent = nullptr);
    ~MpvEngine() override;

    bool Load(const QString &path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void Unload() override;
    void Seek(double seconds) override;
    double Position() const override;
    double Duration() const override;
    QSize PictureSize() const override;
    State PlayState() const override { return state_; }
    QWidget *VideoWidget() override;

    // False when libmpv could not be started; every call then does nothing and Load fails.
    bool IsUsable() const { return mpv_ != nullptr; }
    // Video frames drawn into the widget so far (counts paints that showed a new frame).
    int FramesDrawn() const { return framesDrawn_; }

signals:
    // A new video frame reached the screen (emitted after the widget's buffer swap).
    void FrameDrawn();

private:
    friend class MpvVideoView;

    void MakeWidget();
    void Command(std::initializer_list<const char *> words, uint64_t tag = 0);
    void SetFlag(const char *name, bool value);
    void DrainEvents();
    void Handle(const mpv_event &event);
    void Fail(const QString &reason);
    void ResetFile();
    void CheckEnd();
    void TakeReading(const mpv_event &event);
    void ChooseVideoTrack(const mpv_node &tracks);
    void EnableVideo();
    void OnRenderContextReady();
    void OnRenderContextGone();
    void OnFrameSwapped(bool newFrame);

    MpvEngineOptions options_;
    mpv_handle *mpv_ = nullptr;
    QPointer<QWidget> widget_;
    QPointer<MpvVideoView> view_; // widget_ when drawing video, else null
    std::atomic<bool> drainPosted_{false};

    // The file as the GUI thread knows it; entry_ is mpv's playlist entry id.
    // Opening: loadfile sent; Reading: opened, mpv held while its properties are read.
    int64_t entry_ = -1;
    enum class Loading { Idle, Opening, Reading, Loaded, Failed } loading_ = Loading::Idle;
    int readsPending_ = 0;
    uint64_t hook_ = 0; // mpv's on_preloaded hook, held while Reading
    QString failure_;
    State state_ = State::Empty;
    double duration_ = 0;
    double position_ = 0;
    QSize picture_;
    int64_t videoTrack_ = 0; // mpv's id of the file's video track; 0: none
    bool videoOn_ = false;   // that track is selected in mpv
    bool atEnd_ = false;    // what Position() and PlayState() report
    bool mpvAtEnd_ = false; // mpv's eof-reached, as last heard
    // A seek not yet carried out by mpv: Position() reports its target until
    // the restart that follows the reply to the latest seek command.
    bool seekPending_ = false;
    double seekTarget_ = 0;
    uint64_t lastSeekTag_ = 0;
    bool lastSeekAnswered_ = true;
    int framesDrawn_ = 0;
};
