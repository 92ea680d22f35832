#include "app/settings_folder.h"

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/atomic_file.h"
#include "base/program_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

// Copies the kept files of startingPoint into folder, which does not exist yet.
// The copies are made in a new folder beside it that is then renamed into
// place, so the folder never stands with only some of them: once it exists,
// its files are the whole of the user's own. A file that cannot be read is
// left behind, as it could not be read from where it was either.
void MakeFolderFrom(const QString &folder, const QString &startingPoint)
{
    const QFileInfo target(folder);
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        return;
    QTemporaryDir staging(JoinPath(parent, target.fileName() + QStringLiteral(".new-XXXXXX")));
    if (!staging.isValid())
        return;
    for (const QString &title : startingPoint.isEmpty() ? QStringList() : KeptFileTitles()) {
        QFile source(JoinPath(startingPoint, title));
        if (!source.open(QIODevice::ReadOnly))
            continue;
        if (!WriteFileAtomically(staging.filePath(title), source.readAll()))
            return;
    }
    if (std::rename(QFile::encodeName(staging.path()).constData(), QFile::encodeName(folder).constData()) != 0)
        return;
    staging.setAutoRemove(false);
    SyncFolder(parent);
}

} // namespace

QString SettingsFolder::FileToRead(const QString &name) const
{
    const bool ownFiles = StartingPoint.isEmpty() || QFileInfo(Folder).isDir();
    return JoinPath(ownFiles ? Folder : StartingPoint, name);
}

QString SettingsFolder::FileToWrite(const QString &name) const
{
    if (!QFileInfo(Folder).isDir())
        MakeFolderFrom(Folder, StartingPoint);
    return JoinPath(Folder, name);
}

int SettingsFolder::RemoveInterruptedSaves() const
{
    QStringList kept;
    for (const QString &title : KeptFileTitles())
        kept.append(JoinPath(Folder, title));
    return RemoveSaveLeftovers(kept);
}

bool CanWriteInto(const QString &folder)
{
    QFileInfo place(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!place.exists() && !place.isRoot())
        place = QFileInfo(place.absolutePath());
    return place.isDir() && ::access(QFile::encodeName(place.absoluteFilePath()).constData(), W_OK | X_OK) == 0;
}

QString UserConfigFolder(const QProcessEnvironment &environment)
{
    QString base = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (!QDir::isAbsolutePath(base)) {
        QString home = environment.value(QStringLiteral("HOME"));
        if (home.isEmpty())
            home = QDir::homePath();
        base = JoinPath(home, QStringLiteral(".config"));
    }
    return JoinPath(base, ProgramCommand);
}

SettingsFolder ChooseSettingsFolder(const QString &programFolder, const QProcessEnvironment &environment,
                                    const WritableTest &writable)
{
    if (writable(programFolder))
        return {programFolder, {}};
    return {UserConfigFolder(environment), programFolder};
}

QStringList KeptFileTitles()
{
    QStringList titles{SettingsFileTitle};
    for (int group = 0; group < GroupCount; ++group)
        titles.append(ListFileTitle(group));
    return titles;
}
