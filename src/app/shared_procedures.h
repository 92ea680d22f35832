#pragma once
// The small helpers every window of the program leans on: path joining, the
// folder and file existence tests, switching all skinned buttons of a window,
// the recycle-bin delete and the player windows' opening and closing effect.
// None keeps state; each works on its arguments and the system.

#include "desktop/trash.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The path with one separator at its end ("/" alone for an empty path). Blanks
// at its end are part of the name, as Linux holds names. The argument is not
// changed.
QString AddBackslash(const QString &path);

// folder + name, with one separator between them even when folder is a root
// that already ends in one.
QString JoinPath(const QString &folder, const QString &name);

// True when path names a folder that can be listed.
bool DirectoryExists(const QString &path);

// True when path (one trailing separator ignored) is a regular file that can
// be read: a missing file, a folder, an unreadable file and anything that is
// not a file (a FIFO, a socket, a device) count as missing. Nothing is opened,
// so the answer never waits.
bool FileExists(const QString &path);

// For every skinned button on window, in creation order: with initialise = -1
// runs its Initialize; otherwise enables it when enable = -1, else disables it.
void SetCommandButtons(QWidget *window, qint16 initialise, qint16 enable);

// Asks the user whether to move paths to the trash; true means go ahead.
using TrashConfirmation = std::function<bool(const QStringList &paths)>;

// The confirmation the desktop shows: a Japanese question in a message box
// over owner, answered No unless the user says Yes.
bool AskToMoveToTrash(const QStringList &paths, QWidget *owner = nullptr);

// Moves paths to the desktop's trash after asking confirm. Returns 0 when every
// path went to the trash, TrashCancelled when the user said no, TrashFailed when
// some path could not be moved (those that could were moved). trashed, when
// given, receives where each moved file went, for taking it back.
qint32 DeleteToRecycleBin(
    const QStringList &paths,
    const TrashConfirmation &confirm = [](const QStringList &p) { return AskToMoveToTrash(p); },
    QList<TrashedFile> *trashed = nullptr);
constexpr qint32 TrashCancelled = 1223;
constexpr qint32 TrashFailed = 1;

// A short frame growing from the screen point (x, y) to window's frame, drawn
// before a player window opens; and the same shrinking back when it closes.
void AnimateOpen(QWidget *window, int x, int y);
void AnimateClose(QWidget *window, int x, int y);
