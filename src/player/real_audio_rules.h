#pragma once
// The RealAudio window's pure rules: its layout for a clip, where it opens,
// and which stored positions it may use.

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

// The window laid out for a picture: from the top, the 20-pixel title strip,
// the picture, the 21-pixel slider and the 25-pixel status bar, all as wide
// as the picture, or `minimumWidth` with the picture centred; the exit
// picture 20 pixels from the right.
struct RealAudioLayout
{
    QSize window;
    QRect picture, slider, statusBar;
    int exitLeft = 0;
};
RealAudioLayout LayOutForPicture(QSize picture, int minimumWidth = 0);

// The picture in full-screen mode: the screen, less the rows of the chrome.
QSize FullScreenPictureSize(QSize screen);

// The window's size at load, before a clip is known: 2000 x 300 twips, the
// title strip alone.
QSize LoadingWindowSize();

// A stored coordinate: twips as decimal text ("" means none stored); none
// also for text that is not a number or lies outside what a window can use.
std::optional<int> StoredTwips(const QString &text);

// True when at least half of `window` lies on one of `screens`: the user can
// see it and reach its title strip.
bool StaysVisible(const QRect &window, const QList<QRect> &screens);

// Where the window goes (screen pixels), `size` big, for the stored top and
// left: centred across `primary` and one third down its free height, then the
// stored top, then the stored left put over that. Where the result would
// leave the window off every screen (a monitor unplugged, a smaller
// resolution since), centred; where it would stick out past the right or
// bottom edge of `primary` from a place on it, moved back in as far as it
// fits. Judged once for the title strip the window opens as, and again for
// each size it is laid out to.
QPoint StartPosition(const QString &storedTop, const QString &storedLeft, QSize size, const QRect &primary,
                     const QList<QRect> &screens);
