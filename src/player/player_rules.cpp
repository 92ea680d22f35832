#include "player/player_rules.h"

#include "player/player_chrome.h"

#include <cmath>

QString FormatTime(double t)
{
    t = std::floor(t);
    if (std::isnan(t) || t < 1)
        return QStringLiteral("00:00:00");
    const double h = std::floor(t / 3600);
    const double m = std::floor((t - h * 3600) / 60);
    const double s = t - std::floor(t / 60) * 60;
    if (h > 24)
        return QStringLiteral("24:59:59");
    return QStringLiteral("%1:%2:%3")
        .arg(qint64(h), 2, 10, QLatin1Char('0'))
        .arg(qint64(m), 2, 10, QLatin1Char('0'))
        .arg(qint64(s), 2, 10, QLatin1Char('0'));
}

qint64 RoundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}

qint32 SeekStepFor(double duration)
{
    return static_cast<qint32>(RoundHalfEven(duration / 20));
}

QSize FullScreenVideoSize(QSize screen)
{
    return {screen.width(), screen.height() - DirectShowChromeHeight};
}

QSize FitPicture(QSize picture, QSize room)
{
    if (picture.isEmpty() || (picture.width() <= room.width() && picture.height() <= room.height()))
        return picture;
    return picture.scaled(room.expandedTo({1, 1}), Qt::KeepAspectRatio).expandedTo({1, 1});
}

QRect CorrectAspectRect(int w, int h, int videoWidth, int videoHeight)
{
    int pictureWidth = videoWidth;
    int pictureHeight = videoHeight;
    if ((videoHeight != h || videoWidth != w) && videoWidth > 0 && videoHeight > 0) {
        const double rH = double(h) / videoHeight;
        const double rW = double(w) / videoWidth;
        if (rW >= rH) {
            pictureHeight = h;
            pictureWidth = static_cast<int>(std::floor(rH * videoWidth));
        } else {
            pictureWidth = w;
            pictureHeight = static_cast<int>(std::floor(rW * videoHeight));
        }
        pictureWidth = qMax(pictureWidth, 1);
        pictureHeight = qMax(pictureHeight, 1);
    }
    const int left = static_cast<int>(RoundHalfEven((w - pictureWidth) / 2.0));
    const int top = static_cast<int>(RoundHalfEven((h - pictureHeight) / 2.0));
    return QRect(left, top, pictureWidth, pictureHeight);
}

double SeekBack(double position, qint32 seekStep)
{
    return position - seekStep < 0 ? 0 : position - seekStep / 2;
}

double SeekForward(double position, qint32 seekStep, double duration)
{
    return position + seekStep > duration ? duration : position + seekStep;
}
