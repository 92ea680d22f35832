#pragma once
// The playback engine on libmpv: FFmpeg's demuxers and decoders (avi, wmv,
// asf, mpeg, VCD .dat, RealMedia ...), hardware decoding where the machine
// offers it, sound through the desktop's sound server (silence where there is
// none), and the picture drawn through mpv's render API.
//
// The picture is a native child window inside the widget VideoWidget()
// returns, drawn with OpenGL or in software (mpv_video_route.h). So mpv's
// render context exists from the start, before any window is shown: a file
// opens and decodes its first frame at once, and showing the window only has
// to put it on screen. (A QOpenGLWidget gets a context that can reach the
// screen only once its window is shown, and costs an extra composition pass
// per frame.)
//
// Opening reads the length and tracks while mpv holds the opened file, before
// it starts decoding; a file whose container does not tell the picture's size
// and pixel aspect then counts as open once its first frame is decoded, which
// does. So both are known by Opened; a frame that tells otherwise later (a
// size that changes) comes as PictureChanged.
// Load waits for it in an event loop that leaves user input for later. Only
// local files and the network schemes of media_source.h reach mpv; a local
// file that does not open within a few seconds fails.
// mpv's threads only post queued calls; everything else, drawing included,
// runs on the GUI thread. Only the mpv_* files see mpv.

#include "media/mpv_start.h"
#include "media/mpv_video_window.h"
#include "media/playback_engine.h"

#include <QPointer>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <optional>

struct mpv_handle;
struct mpv_event;
struct mpv_event_end_file;
struct mpv_event_hook;
struct mpv_event_log_message;
struct mpv_event_property;
struct mpv_event_start_file;
struct mpv_node;

class MpvEngine : public PlaybackEngine, private MpvVideoWindow::Host
{
    Q_OBJECT
public:
    // Starts libmpv here and now (see mpv_start.h for doing it beforehand).
    explicit MpvEngine(MpvEngineOptions options = {}, QObject *parent = nullptr);
    // Takes over a core started beforehand with the same options.
    MpvEngine(MpvStart start, MpvEngineOptions options, QObject *parent = nullptr);
    ~MpvEngine() override;

    bool Load(const QString &path, double start = 0) override;
    void Open(const QString &path, double start = 0) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    void Unload() override;
    void Seek(double seconds) override;
    void SetVolume(double level) override;
    double Position() const override;
    double Duration() const override;
    QSize PictureSize() const override;
    State PlayState() const override { return state_; }
    bool Buffering() const override { return buffering_; }
    bool Seeking() const override { return seekPending_; }
    QWidget *VideoWidget() override;

    // False when libmpv could not be started; every call then does nothing and Load fails.
    bool IsUsable() const { return mpv_ != nullptr; }
    // The loudness mpv plays at now, 0 to 1 (0 without libmpv); asked of mpv
    // and waited for, so for a look from outside rather than the GUI's use.
    double Volume() const;
    // How the picture is drawn (see mpv_video_route.h); none without a picture.
    std::optional<VideoRoute> Route() const;
    // Frames of the open files shown on screen so far (redraws not counted).
    int FramesDrawn() const { return framesDrawn_; }

signals:
    // A new video frame reached the screen (emitted after the buffer swap).
    void FrameDrawn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The widget holding the picture; a picture not started yet is started here.
    void MakeWidget(MpvPicture picture = {});
    bool HasFile() const;
    uint64_t NextTag();
    void Command(std::initializer_list<const char *> words, uint64_t tag = 0);
    void SetFlag(const char *name, bool value);
    void Fail(const QString &reason);
    void FailLater(const QString &reason);
    void CompleteOpening();
    void OnOpenTimer();
    void ResetFile();
    void CheckEnd();
    void SendSeek();
    void ChooseVideoTrack(const mpv_node &tracks);
    void EnableVideo();
    void OnRenderContextReady();
    void TurnUpright(int rotation);

    // mpv's events (mpv_engine_events.cpp), on the GUI thread.
    void DrainEvents();
    void Handle(const mpv_event &event);
    void HandleOne(const mpv_event &event);
    void OnLogMessage(const mpv_event_log_message &message);
    void OnCommandReply(const mpv_event &event);
    void OnStartFile(const mpv_event_start_file &start);
    void OnHook(const mpv_event_hook &hook);
    void OnPropertyReply(const mpv_event &event);
    void FinishReading();
    void OnFileLoaded();
    void OnEndFile(const mpv_event_end_file &end);
    void OnPropertyChange(const mpv_event_property &property);
    void TakeVideoParams(const mpv_node &params);
    void OnPlaybackRestart();

    // MpvVideoWindow::Host
    bool VideoOn() const override;
    void FrameShown() override;
    void RenderContextGone() override;

    MpvEngineOptions options_;
    mpv_handle *mpv_ = nullptr;
    QPointer<QWidget> widget_;
    QPointer<MpvVideoWindow> view_; // the native window inside widget_ when drawing video
    std::atomic<bool> drainPosted_{false};

    uint64_t lastTag_ = 0; // the latest counted request tag

    // The file as the GUI thread knows it; entry_ is mpv's playlist entry id,
    // loadTag_ the tag of the loadfile command that opens it.
    // Opening: loadfile sent; Reading: opened, mpv held while its properties are read.
    int64_t entry_ = -1;
    int64_t startedEntry_ = -1;       // the entry of mpv's latest START_FILE
    bool entryFromNextStart_ = false; // loadfile answered without its entry id
    uint64_t loadTag_ = 0;
    enum class Loading { Idle, Opening, Reading, Loaded } loading_ = Loading::Idle;
    int readsPending_ = 0;
    uint64_t hook_ = 0; // mpv's on_preloaded hook, held while Reading
    // Loaded, the state still Opening until the first frame tells the picture's size.
    bool awaitingPicture_ = false;
    bool pictureFromContainer_ = false; // the container told the size and pixel aspect
    // Opening a local file, then awaiting its picture, within a time limit.
    QTimer openTimer_;
    bool fileLoaded_ = false; // mpv has loaded the file: it takes seeks from now on
    State state_ = State::Empty;
    double duration_ = 0;
    double position_ = 0;
    double start_ = 0; // where the file opening now starts, in seconds
    QSize picture_;
    int64_t videoTrack_ = 0; // mpv's id of the file's video track; 0: none
    bool videoOn_ = false;   // that track is selected in mpv
    bool atEnd_ = false;     // what Position() and PlayState() report
    bool endBySeek_ = false; // atEnd_ by a seek to the length: held until the next seek
    bool untouched_ = false; // at the start since Load: neither played nor sought
    bool mpvAtEnd_ = false;  // mpv's eof-reached, as last heard
    bool buffering_ = false; // mpv's paused-for-cache, as last heard
    // A seek not yet carried out by mpv: Position() reports its target until
    // the restart that follows the reply to the latest seek command.
    bool seekPending_ = false;
    bool seekHeld_ = false;    // asked for before mpv could take it: sent once the file has loaded
    bool seekStarted_ = false; // mpv began carrying it out after answering it
    double seekTarget_ = 0;
    uint64_t lastSeekTag_ = 0;
    bool lastSeekAnswered_ = true;
    int framesDrawn_ = 0;
    QByteArray filters_; // the video filters set on mpv
};
