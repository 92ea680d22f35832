#pragma once
// The drive choice: a drop-down of the mounted file systems that hold files,
// each shown as its mount point and label. On this platform a "drive" is the
// mount point that holds a path.

#include "base/mount_table.h"

#include <QComboBox>

class DriveListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // Mount point of the drive shown ("/" style path; "" when none).
    QString Drive() const;
    // Shows the drive that holds path (a mount point or any path on it). Raises
    // Change when the drive differs from the one shown.
    void SetDrive(const QString &path);

    // Lists the mounted volumes afresh (from the mount table as last read),
    // keeping the drive shown when it still exists.
    void Refresh();
    // Lists one more drive: its mount point and the text shown for it.
    void AddVolume(const QString &root, const QString &text);

    // Drives come and go (a stick plugged in): the list is made afresh on opening.
    void showPopup() override;

signals:
    void Change();

private:
    void OnUserChoice(int index);
    int IndexOfRoot(const QString &root) const;
    int IndexAdding(const Mount &volume);
};

// Whether a mount is one a user browses: the root always; otherwise neither a
// pseudo or image file system (proc, sysfs, cgroup, squashfs, ...) nor one of
// the system's own places (/proc, /sys, /dev, /run, /boot, snaps), while
// removable media under /run/media, /media and /mnt are shown.
bool IsBrowsableMount(QStringView root, QByteArrayView fileSystemType);
// Mounted volumes a user keeps files on: ready and browsable.
QList<Mount> UserVolumes();
