#include "app/documentation.h"

#include "base/program_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString DocumentationPage(const QString &programFolder)
{
    const QString installed = QDir::cleanPath(programFolder + QStringLiteral("/../share/doc/") + ProgramCommand
                                              + QStringLiteral("/index.html"));
    if (QFileInfo(installed).isFile())
        return installed;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return {};
    const QString copy = QDir(cache).filePath(QStringLiteral("index.html"));
    QFile own(QStringLiteral(":/doc/index.html"));
    QFile written(copy);
    if (!own.open(QIODevice::ReadOnly) || !written.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || written.write(own.readAll()) != own.size())
        return {};
    return copy;
}
