#include "app/favorite_files.h"

#include "app/list_file.h"
#include "base/file_kinds.h"
#include "base/file_names.h"
#include "base/file_url.h"
#include "widgets/list_box.h"

#include <QLocale>

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

QStringList DroppedVideoFiles(const QByteArray &uriList, const QString &hostName)
{
    QStringList files;
    const std::string host = hostName.toStdString();
    const std::vector<std::string_view> urls = UriListLines(std::string_view(uriList.constData(), uriList.size()));
    const size_t looked = qMin<size_t>(urls.size(), MaxDroppedNames);
    for (size_t i = 0; i < looked; ++i) {
        const std::optional<std::string> path = LocalPathOfFileUrl(urls[i], host);
        if (!path)
            continue;
        const QString file = DecodeFileName(QByteArrayView(path->data(), qsizetype(path->size())));
        if (IsVideoExtension(ExtensionOf(file)))
            files.append(file);
    }
    return files;
}

FavoriteCandidates SplitFavoriteCandidates(const QStringList &paths, qsizetype room)
{
    FavoriteCandidates candidates;
    for (const QString &path : paths) {
        if (!FitsListRecord(path))
            candidates.tooLong.append(path);
        else if (candidates.fitting.size() < room)
            candidates.fitting.append(path);
        else
            candidates.overLimit.append(path);
    }
    return candidates;
}

QString CountText(qsizetype count)
{
    return QLocale(QLocale::English).toString(count);
}

QString NotAddedMessage(const FavoriteCandidates &candidates)
{
    const qsizetype notAdded = candidates.tooLong.size() + candidates.overLimit.size();
    if (notAdded == 0)
        return {};
    QString text = QStringLiteral("%1 個のファイルは Favorite ﾘｽﾄに追加できませんでした。\n").arg(CountText(notAdded));
    if (!candidates.tooLong.isEmpty())
        text += QStringLiteral("\n%1 個: パスが長すぎるか末尾が空白のため、ﾘｽﾄのファイルに記録できません"
                               " (%2 バイトまで)。\n%3\n")
                    .arg(CountText(candidates.tooLong.size()))
                    .arg(ListRecordLength)
                    .arg(candidates.tooLong.size() == 1
                             ? DisplayFileName(candidates.tooLong.first())
                             : QStringLiteral("最初のファイル: %1").arg(DisplayFileName(candidates.tooLong.first())));
    if (!candidates.overLimit.isEmpty())
        text += QStringLiteral("\n%1 個: Favorite ﾘｽﾄは %2 個までしか入りません。\n")
                    .arg(CountText(candidates.overLimit.size()))
                    .arg(CountText(MaxListEntries));
    return text;
}

FavoriteReach ReachOf(const QString &path)
{
    switch (KindOfPath(path)) {
    case PathKind::Missing: return FavoriteReach::Missing;
    case PathKind::File: return IsReadableFile(path) ? FavoriteReach::Playable : FavoriteReach::NotPlayable;
    default: return FavoriteReach::NotPlayable;
    }
}

QString ReachNote(FavoriteReach reach)
{
    switch (reach) {
    case FavoriteReach::Missing:
        return QStringLiteral("いまは見つかりません (ドライブやネットワークがつながっていないのかもしれません)");
    case FavoriteReach::NotPlayable: return QStringLiteral("再生できるファイルではありません。");
    case FavoriteReach::Playable: break;
    }
    return {};
}
