#include "desktop/shell.h"

#include "base/file_names.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool OpenWithDesktop(const QString &target)
{
    // A file goes by its URL of the bytes its name holds, which QUrl keeps
    // escaped even where they are not UTF-8.
    const QUrl url =
        QFileInfo(target).isAbsolute() ? QUrl::fromEncoded(FileUrlOfPath(target)) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}
