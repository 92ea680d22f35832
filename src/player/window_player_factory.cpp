#include "player/window_player_factory.h"

#include "platform/media/mpv_engine.h"
#include "player/directshow_window.h"

WindowPlayerFactory::WindowPlayerFactory(Reelbox_B &shared, PlaybackEngine *engine)
    : shared_(shared)
    , engine_(engine)
{
}

WindowPlayerFactory::~WindowPlayerFactory() = default;

PlaybackEngine &WindowPlayerFactory::Engine()
{
    if (!engine_) {
        ownEngine_ = std::make_unique<MpvEngine>();
        engine_ = ownEngine_.get();
    }
    return *engine_;
}

bool WindowPlayerFactory::ShowModal(PlayerWindow, QWidget *owner)
{
    // The RealAudio names play in the DirectShow window too, until that window
    // has a sibling of its own.
    Reelbox_M window(shared_, Engine(), owner);
    if (!window.Form_Load())
        return false;
    // A clip that ends while the window opens has closed it already; shown now,
    // it would be a window nothing closes.
    if (!window.Closed())
        window.exec();
    return true;
}
