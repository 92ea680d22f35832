#include "platform/media/playback_engine.h"

void PlaybackEngine::AnnounceChanges()
{
    // Take the news before telling it: a listener may change the engine
    // again, and announces that itself.
    const State state = PlayState();
    const bool buffering = Buffering();
    const bool seeking = Seeking();
    const bool stateChanged =
        state != announcedState_ || buffering != announcedBuffering_ || seeking != announcedSeeking_;
    announcedState_ = state;
    announcedBuffering_ = buffering;
    announcedSeeking_ = seeking;
    const double position = Position();
    const bool moved = position != announcedPosition_;
    announcedPosition_ = position;
    if (stateChanged)
        emit StateChanged();
    if (moved && PlayState() == state && Position() == position)
        emit PositionChanged(position);
}
