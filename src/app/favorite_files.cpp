#include "app/favorite_files.h"

#include "app/list_file.h"

#include <QFileInfo>

QString ExtensionOf(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path.at(i);
        if (c == u'.')
            return path.mid(i + 1);
        if (c == u'\\' || c == u'/')
            return {};
    }
    return {};
}

bool IsVideoExtension(const QString &extension)
{
    static const QStringList kinds{QStringLiteral("RAM"),  QStringLiteral("RM"),  QStringLiteral("AVI"),
                                   QStringLiteral("MPEG"), QStringLiteral("MPG"), QStringLiteral("ASF"),
                                   QStringLiteral("WMV"),  QStringLiteral("DIVX"), QStringLiteral("DAT"),
                                   QStringLiteral("RMVB")};
    return kinds.contains(extension.toUpper());
}

QStringList DroppedVideoFiles(const QList<QUrl> &dropped)
{
    QStringList files;
    const qsizetype looked = qMin<qsizetype>(dropped.size(), MaxDroppedNames);
    for (qsizetype i = 0; i < looked; ++i) {
        const QUrl &url = dropped.at(i);
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (IsVideoExtension(ExtensionOf(path)))
            files.append(path);
    }
    return files;
}

FavoriteCandidates SplitByRecordFit(const QStringList &paths)
{
    FavoriteCandidates candidates;
    for (const QString &path : paths)
        (FitsListRecord(path) ? candidates.fitting : candidates.tooLong).append(path);
    return candidates;
}

QString TooLongMessage(const QStringList &tooLong)
{
    if (tooLong.isEmpty())
        return {};
    return QStringLiteral("%1 個のファイルは、パスが長すぎるため Favorite ﾘｽﾄに追加できませんでした"
                          " (%2 バイトまで)。\n\n%3")
        .arg(tooLong.size())
        .arg(ListRecordLength)
        .arg(tooLong.size() == 1 ? tooLong.first()
                                 : QStringLiteral("最初のファイル: %1").arg(tooLong.first()));
}
