#include "base/program_location.h"

#include <QFileInfo>

QString ExecutableFolder()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}
