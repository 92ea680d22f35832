#include "player/window_player_factory.h"

#include "app/reelbox_b.h"
#include "app/resume_recorder.h"
#include "base/file_kinds.h"
#include "desktop/mpris.h"
#include "media/mpv_engine.h"
#include "player/directshow_window.h"
#include "player/real_audio_window.h"

WindowPlayerFactory::WindowPlayerFactory(Reelbox_B &shared, PlaybackEngine *engine)
    : shared_(shared)
    , engine_(engine)
{
}

WindowPlayerFactory::~WindowPlayerFactory() = default;

void WindowPlayerFactory::PrepareEngine()
{
    if (!engine_ && !start_)
        start_ = std::make_unique<MpvBackgroundStart>(MpvEngineOptions{});
}

PlaybackEngine &WindowPlayerFactory::Engine()
{
    if (!engine_) {
        ownEngine_ =
            start_ ? std::make_unique<MpvEngine>(start_->Take(), start_->Options()) : std::make_unique<MpvEngine>();
        start_.reset();
        engine_ = ownEngine_.get();
    }
    return *engine_;
}

// From a window's load to its close: the window a stop reaches, the one the
// desktop's media controls command, and the file whose point is recorded (a
// metafile's clips have no one place to go on from, and are not).
class WindowPlayerFactory::Showing
{
public:
    Showing(WindowPlayerFactory &factory, SkinnedPlayerWindow &window)
        : factory_(factory)
    {
        factory_.showing_ = &window;
        if (factory_.mpris_)
            factory_.mpris_->Playing(window, factory_.Engine());
        if (factory_.recorder_ && !IsMetafileName(factory_.shared_.PlayFile))
            factory_.recorder_->Playing(factory_.shared_.PlayFile, factory_.Engine());
    }
    ~Showing()
    {
        if (factory_.recorder_)
            factory_.recorder_->Stopped();
        factory_.showing_ = nullptr;
        if (factory_.mpris_)
            factory_.mpris_->Stopped();
    }
    Showing(const Showing &) = delete;
    Showing &operator=(const Showing &) = delete;

private:
    WindowPlayerFactory &factory_;
};

bool WindowPlayerFactory::ShowModal(PlayerWindow which, QWidget *owner)
{
    return which == PlayerWindow::RealAudio ? ShowRealAudio(owner) : ShowDirectShow(owner);
}

void WindowPlayerFactory::StopPlaying()
{
    if (showing_)
        showing_->RemoteStop();
}

bool WindowPlayerFactory::PlayerOnScreen() const
{
    return showing_ && showing_->isVisible();
}

// A clip that ends while its window opens has closed the window already;
// shown then, it would be a window nothing closes.

bool WindowPlayerFactory::ShowDirectShow(QWidget *owner)
{
    Reelbox_M window(shared_, Engine(), owner);
    window.SetFavoriteGroups(groups_);
    const Showing showing(*this, window);
    const bool played = window.Form_Load();
    if (played && !window.Closed())
        window.exec();
    return played;
}

bool WindowPlayerFactory::ShowRealAudio(QWidget *owner)
{
    Reelbox_R window(shared_, Engine(), owner);
    window.SetFavoriteGroups(groups_);
    const Showing showing(*this, window);
    window.Form_Load();
    if (!window.Closed())
        window.exec();
    return !window.PlayedNothing();
}
