#include "media/media_source.h"

#include <QStringList>

bool IsNetworkStreamUrl(const QString &text)
{
    static const QStringList schemes = {"http", "https", "rtsp", "pnm", "mms", "rtmp"};
    const qsizetype end = text.indexOf(QLatin1String("://"));
    return end > 0 && schemes.contains(text.left(end), Qt::CaseInsensitive);
}
