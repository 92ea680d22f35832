#include "app/open_arguments.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUrl>

namespace {

// "scheme:" at the start of a text, as a URL begins (two letters at least,
// so that a Windows drive letter is no scheme).
bool HasUrlScheme(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

} // namespace

QString LocalPathFromUrl(const QString &url)
{
    QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return {};
    const QString host = parsed.host();
    if (!host.isEmpty()) {
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0
            && host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
            return {}; // a file on another machine
        parsed.setHost(QString());
    }
    // An escaped NUL or slash cannot be part of a file's name: decoded, the
    // rest would name another file.
    const QString escaped = parsed.path(QUrl::FullyEncoded);
    if (escaped.contains(QLatin1String("%00")) || escaped.contains(QLatin1String("%2F"), Qt::CaseInsensitive))
        return {};
    return parsed.toLocalFile();
}

OpenTargets SortArguments(const QStringList &arguments, const QString &workingFolder)
{
    OpenTargets targets;
    const QDir working(workingFolder);
    for (const QString &argument : arguments) {
        // A relative name that only looks like a URL ("a:b.avi") is a file.
        QString path = working.absoluteFilePath(argument);
        if (HasUrlScheme(argument) && !QFileInfo::exists(path))
            path = LocalPathFromUrl(argument);
        const QFileInfo target(path);
        if (argument.isEmpty() || path.isEmpty() || !target.exists())
            targets.refused.append(argument);
        else if (target.isDir())
            targets.folders.append(QDir::cleanPath(target.absoluteFilePath()));
        else
            targets.files.append(QDir::cleanPath(target.absoluteFilePath()));
    }
    return targets;
}

QString RefusedArgumentsText(const QStringList &refused)
{
    return QStringLiteral("次のものは開けませんでした。\n\n") + refused.join(u'\n')
        + QStringLiteral("\n\n開けるのは、このコンピューターにあるファイルとフォルダ (パスまたは file:// の URL) だけです。");
}
