#include "app/open_arguments.h"

#include "base/file_names.h"
#include "base/file_url.h"
#include "base/url_scheme.h"

#include <QDir>

QString LocalPathFromUrl(const QString &url)
{
    const std::optional<std::string> path = LocalPathOfFileUrl(EncodeFileName(url).toStdString(), ThisHostName());
    return path ? DecodeFileName(QByteArrayView(path->data(), qsizetype(path->size()))) : QString();
}

OpenTargets SortArguments(const QStringList &arguments, const QString &workingFolder)
{
    OpenTargets targets;
    const QDir working(workingFolder);
    for (const QString &argument : arguments) {
        // A relative name that only looks like a URL ("a:b.avi") is a file.
        // The path is resolved as the kernel would open it, never cleaned as
        // text: "link/.." is where the link leads, "nosuch/../a" is nothing.
        QString path = argument.isEmpty() ? QString() : ResolvedPath(working.absoluteFilePath(argument));
        if (!UrlScheme(argument).isEmpty() && KindOfPath(path) == PathKind::Missing)
            path = LocalPathFromUrl(argument);
        const PathKind kind = argument.isEmpty() || path.isEmpty() ? PathKind::Missing : KindOfPath(path);
        if (kind == PathKind::Folder)
            targets.folders.append(path);
        else if (kind == PathKind::Missing)
            targets.refused.append(argument);
        else
            targets.files.append(path); // a FIFO or device is passed over when its turn comes
    }
    return targets;
}

QString RefusedArgumentsText(const QStringList &refused)
{
    return QStringLiteral("次のものは開けませんでした。\n\n") + refused.join(u'\n')
           + QStringLiteral(
               "\n\n開けるのは、このコンピューターにあるファイルとフォルダ (パスまたは file:// の URL) だけです。");
}
