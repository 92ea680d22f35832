#include "app/shared_procedures.h"

#include "base/file_names.h"
#include "controls/command.h"
#include "widgets/window_animation.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace {
const QChar Separator = QLatin1Char('/');
} // namespace

QString AddBackslash(const QString &path)
{
    return path.endsWith(Separator) ? path : path + Separator;
}

QString JoinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(Separator) ? folder + name : folder + Separator + name;
}

bool DirectoryExists(const QString &path)
{
    return IsListableFolder(AddBackslash(path));
}

bool FileExists(const QString &path)
{
    QString target = path;
    if (target.endsWith(Separator))
        target.chop(1);
    return IsReadableFile(target);
}

void SetCommandButtons(QWidget *window, qint16 initialise, qint16 enable)
{
    if (!window)
        return;
    for (Command *button : window->findChildren<Command *>()) {
        if (initialise == -1)
            button->Initialize();
        else
            button->SetEnabledProperty(enable == -1);
    }
}

bool AskToMoveToTrash(const QStringList &paths, QWidget *owner)
{
    const QString question =
        paths.size() == 1
            ? QStringLiteral("'%1' をごみ箱に移動しますか?").arg(DisplayFileName(QFileInfo(paths.first()).fileName()))
            : QStringLiteral("これらの %1 個の項目をごみ箱に移動しますか?").arg(paths.size());
    return QMessageBox::question(owner, QStringLiteral("ファイルの削除"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

qint32 DeleteToRecycleBin(const QStringList &paths, const TrashConfirmation &confirm, QList<TrashedFile> *trashed)
{
    if (paths.isEmpty())
        return 0;
    if (!confirm(paths))
        return TrashCancelled;
    bool allMoved = true;
    for (const QString &path : paths) {
        TrashedFile moved;
        const bool inTrash = MoveFileToTrash(path, moved) == TrashResult::Trashed;
        if (inTrash && trashed)
            trashed->append(moved);
        allMoved = inTrash && allMoved;
    }
    return allMoved ? 0 : TrashFailed;
}

void AnimateOpen(QWidget *window, int x, int y)
{
    if (window)
        AnimateFrame(QRect(x, y, 0, 0), window->frameGeometry());
}

void AnimateClose(QWidget *window, int x, int y)
{
    if (window)
        AnimateFrame(window->frameGeometry(), QRect(x, y, 0, 0));
}
