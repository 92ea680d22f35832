#pragma once
// The marks the lists show of where their files were left: the store's
// points, read in one go and kept here while the program runs, so a row's
// mark costs no reading of the store and no look at the disk. Whether a
// stored point is still its file's own (the same size and modification time)
// is told by a look made off the window's thread (ReachChecker).

#include "app/resume_store.h"
#include "widgets/row_marks.h"

#include <QHash>

// The mark a stored point gives: watched, midway (a position within a known
// length) or none.
RowMark MarkOf(const FilePoint &point);

class ResumeMarks
{
public:
    // Reads every point of store.
    void Load(ResumeStore &store);
    // Reads path's point again (it was just written).
    void Reload(ResumeStore &store, const QString &path);

    // Whether a point is kept for path: only then is its file worth a look.
    bool Has(const QString &path) const { return points_.contains(path); }
    // The mark of path when its file now has identity (none for another file).
    RowMark MarkOf(const QString &path, const std::optional<FileIdentity> &identity) const;
    // The mark of path as stored, for a file just played or marked.
    RowMark MarkOf(const QString &path) const;

private:
    QHash<QString, StoredPoint> points_;
};
