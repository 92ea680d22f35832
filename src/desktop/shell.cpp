#include "desktop/shell.h"

#include "base/file_names.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

bool OpenWithDesktop(const QString &target)
{
    // A file goes by its URL of the bytes its name holds, which QUrl keeps
    // escaped even where they are not UTF-8.
    const QUrl url =
        QFileInfo(target).isAbsolute() ? QUrl::fromEncoded(FileUrlOfPath(target)) : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

bool MoveToTrash(const QString &path)
{
    // A new account may not have its data folder yet; Qt makes only the last
    // folder of the trash's path.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash))
        return false;
    if (QFileInfo(inTrash).isAbsolute())
        return true;
    // Where no trash folder can be set up (the data folder is not writable),
    // Qt 6.4 reports success but has moved the file to "files/" under the
    // current folder, with its note in "info/". Put it back: it was not trashed.
    const QDir here = QDir::current();
    QFile::rename(here.absoluteFilePath(inTrash), path);
    QFile::remove(here.absoluteFilePath(QStringLiteral("info/%1.trashinfo").arg(QFileInfo(inTrash).fileName())));
    here.rmdir(QStringLiteral("files")); // only when left empty
    here.rmdir(QStringLiteral("info"));
    return false;
}
