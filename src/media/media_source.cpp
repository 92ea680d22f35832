#include "media/media_source.h"

#include "base/url_scheme.h"

#include <QStringList>

bool IsNetworkStreamUrl(const QString &text)
{
    static const QStringList schemes = {"http", "https", "rtsp", "pnm", "mms", "rtmp"};
    const QStringView scheme = UrlScheme(text);
    return schemes.contains(scheme, Qt::CaseInsensitive) && QStringView(text).sliced(scheme.size()).startsWith(u"://");
}
