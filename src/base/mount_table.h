#pragma once
// The system's mount table, read once and kept until it changes: finding the
// mount that holds a path, or listing the volumes, reads nothing. Whoever
// watches the table (the mount watcher) has it read again when it changed.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct Mount
{
    QString root; // the mount point
    QByteArray type;
    QByteArray device;
    QString label; // the file system's label, "" when it has none
    bool ready = false;
};

// The mounts a /proc/self/mountinfo text lists, in its order (their labels
// and readiness not looked at).
QList<Mount> ParseMountInfo(QByteArrayView text);

class MountTable
{
public:
    // The table as last read (read on first use).
    static const MountTable &Current();
    // Reads the table again: something was mounted or unmounted.
    static void Reread();

    explicit MountTable(QList<Mount> mounts);

    // The mounts that hold a file system of their own, not a pseudo one of
    // the kernel's (the volumes a file manager lists), in table order.
    QList<Mount> Volumes() const;
    // The mount point that holds path (its links resolved); "" when path
    // does not exist.
    QString RootOf(const QString &path) const;
    // The mount at mount point root.
    std::optional<Mount> MountAt(const QString &root) const;

private:
    QList<Mount> mounts_;
};
