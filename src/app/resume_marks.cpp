#include "app/resume_marks.h"

RowMark MarkOf(const FilePoint &point)
{
    if (point.watched)
        return {RowMark::Kind::Watched};
    if (point.position > 0 && point.duration > 0)
        return {RowMark::Kind::Midway, point.position / point.duration};
    return {};
}

void ResumeMarks::Load(ResumeStore &store)
{
    points_ = store.Files();
}

void ResumeMarks::Reload(ResumeStore &store, const QString &path)
{
    if (const std::optional<StoredPoint> stored = store.Stored(path))
        points_.insert(path, *stored);
    else
        points_.remove(path);
}

RowMark ResumeMarks::MarkOf(const QString &path, const std::optional<FileIdentity> &identity) const
{
    const auto stored = points_.constFind(path);
    if (stored == points_.cend() || identity != stored->identity)
        return {};
    return ::MarkOf(stored->point);
}

RowMark ResumeMarks::MarkOf(const QString &path) const
{
    const auto stored = points_.constFind(path);
    return stored == points_.cend() ? RowMark() : ::MarkOf(stored->point);
}
