#include "player/real_audio_rules.h"

#include "base/units.h"
#include "player/player_chrome.h"

#include <cmath>
#include <limits>

RealAudioLayout LayOutForPicture(QSize picture, int minimumWidth)
{
    const int h = picture.height();
    const int w = qMax(picture.width(), minimumWidth);
    RealAudioLayout layout;
    layout.window = QSize(w, h + RealAudioChromeHeight);
    layout.picture = QRect((w - picture.width()) / 2, TitleHeight, picture.width(), h);
    layout.slider = QRect(0, TitleHeight + h, w, RealSliderHeight);
    layout.statusBar = QRect(0, layout.slider.bottom() + 1, w, RealStatusBarHeight);
    layout.exitLeft = w - ExitFromRight;
    return layout;
}

QSize FullScreenPictureSize(QSize screen)
{
    return {screen.width(), screen.height() - RealAudioChromeHeight};
}

QSize LoadingWindowSize()
{
    return TwipsToPixels(QSize(2000, 300));
}

std::optional<int> StoredTwips(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // Far beyond any desktop, and the limit of a 32-bit coordinate in twips.
    constexpr double limit = std::numeric_limits<int>::max() / 2;
    if (!ok || !std::isfinite(value) || std::abs(value) > limit)
        return std::nullopt;
    return static_cast<int>(std::lround(value));
}

bool StaysVisible(const QRect &window, const QList<QRect> &screens)
{
    const qint64 area = qint64(window.width()) * window.height();
    for (const QRect &screen : screens) {
        const QRect shown = screen.intersected(window);
        if (area > 0 && 2 * qint64(shown.width()) * shown.height() >= area)
            return true;
    }
    return false;
}

QPoint StartPosition(const QString &storedTop, const QString &storedLeft, QSize size, const QRect &primary,
                     const QList<QRect> &screens)
{
    // Centred in twips, each difference truncated toward zero.
    const int left = (PixelsToTwips(primary.width()) - PixelsToTwips(size.width())) / 2;
    const int top = (PixelsToTwips(primary.height()) - PixelsToTwips(size.height())) / 3;
    const QPoint centred = primary.topLeft() + TwipsToPixels(QPoint(left, top));
    QPoint place = centred;
    if (const std::optional<int> twips = StoredTwips(storedTop); !storedTop.isEmpty() && twips)
        place.setY(TwipsToPixels(*twips));
    if (const std::optional<int> twips = StoredTwips(storedLeft); !storedLeft.isEmpty() && twips)
        place.setX(TwipsToPixels(*twips));
    if (!StaysVisible(QRect(place, size), screens))
        return centred;
    // A window larger than the one whose place was stored would stick out past
    // the right or bottom edge of its screen: it comes back in as far as it
    // fits. One left past the left or top edge stays where it was left.
    QRect area = primary;
    for (const QRect &screen : screens)
        if (screen.contains(place) && !screen.contains(primary))
            area = screen;
    const auto pulledIn = [](int start, int length, int areaStart, int areaLength) {
        const int over = start + length - (areaStart + areaLength);
        return start >= areaStart && over > 0 ? qMax(areaStart, start - over) : start;
    };
    return {pulledIn(place.x(), size.width(), area.x(), area.width()),
            pulledIn(place.y(), size.height(), area.y(), area.height())};
}
