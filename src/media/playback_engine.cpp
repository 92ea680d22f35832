#include "media/playback_engine.h"

#include <cmath>

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

QSize ShownPictureSize(QSize stored, double pixelAspect, int rotation)
{
    // A hair below the next pixel counts as on it: 720 x 32/27 is 853.33.. but
    // 640 x 1.5 must stay 960 whatever the last bit of the ratio says.
    const auto stretch = [](int side, double factor) { return static_cast<int>(std::ceil(side * factor - 1e-6)); };
    QSize shown = stored;
    if (std::isfinite(pixelAspect) && pixelAspect > 1)
        shown.setWidth(stretch(stored.width(), pixelAspect));
    else if (std::isfinite(pixelAspect) && pixelAspect > 0 && pixelAspect < 1)
        shown.setHeight(stretch(stored.height(), 1 / pixelAspect));
    if (((rotation % 180) + 180) % 180 == 90)
        shown.transpose();
    return shown;
}
