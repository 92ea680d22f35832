#include "widgets/drive_list_box.h"

#include <QDir>
#include <QSignalBlocker>

namespace {

// Kernel, runtime and image file systems: nothing a user keeps videos on.
bool IsPseudoFileSystem(QByteArrayView type)
{
    static const QByteArrayView pseudo[] = {
        "proc",      "sysfs",    "devtmpfs",    "devpts",          "cgroup",        "cgroup2",    "securityfs",
        "pstore",    "bpf",      "debugfs",     "tracefs",         "configfs",      "fusectl",    "mqueue",
        "hugetlbfs", "autofs",   "binfmt_misc", "efivarfs",        "selinuxfs",     "rpc_pipefs", "nsfs",
        "ramfs",     "squashfs", "fuse.portal", "fuse.gvfsd-fuse", "fuse.snapfuse", "nfsd",
    };
    for (QByteArrayView name : pseudo)
        if (type == name)
            return true;
    return false;
}

bool IsUnder(QStringView path, QStringView folder)
{
    return path == folder || (path.startsWith(folder) && path.mid(folder.size()).startsWith(u'/'));
}

// The system's own mounts: kernel interfaces, the runtime folder (except the
// removable media that udisks mounts under /run/media), boot partitions and
// snap images.
bool IsSystemPlace(QStringView root)
{
    if (IsUnder(root, u"/run/media"))
        return false;
    for (QStringView folder : {u"/proc", u"/sys", u"/dev", u"/run", u"/boot", u"/efi", u"/snap", u"/var/lib/docker",
                               u"/var/lib/containers", u"/var/snap"}) {
        if (IsUnder(root, folder))
            return true;
    }
    return false;
}

QString VolumeText(const QStorageInfo &volume)
{
    const QString label = volume.displayName();
    return label.isEmpty() || label == volume.rootPath() ? volume.rootPath()
                                                         : QStringLiteral("%1 [%2]").arg(volume.rootPath(), label);
}

} // namespace

bool IsBrowsableMount(QStringView root, QByteArrayView fileSystemType)
{
    if (root == u"/")
        return true;
    return !IsPseudoFileSystem(fileSystemType) && !IsSystemPlace(root);
}

QList<QStorageInfo> UserVolumes()
{
    QList<QStorageInfo> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && IsBrowsableMount(volume.rootPath(), volume.fileSystemType()))
            volumes.append(volume);
    }
    return volumes;
}

DriveListBox::DriveListBox(QWidget *parent)
    : QComboBox(parent)
{
    Refresh();
    connect(this, &QComboBox::activated, this, &DriveListBox::OnUserChoice);
}

QString DriveListBox::Drive() const
{
    return currentData().toString();
}

void DriveListBox::SetDrive(const QString &path)
{
    int index = IndexOfRoot(path);
    if (index < 0) {
        const QStorageInfo volume(path);
        if (!volume.isValid())
            return;
        index = IndexAdding(volume);
    }
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    emit Change();
}

void DriveListBox::Refresh()
{
    const QString shown = Drive();
    const QSignalBlocker quiet(this);
    clear();
    for (const QStorageInfo &volume : UserVolumes())
        AddVolume(volume.rootPath(), VolumeText(volume));
    // The drive of the folder shown stays listed while it is mounted, even
    // where the list would not offer it (the user reached it some other way).
    const QStorageInfo shownVolume(shown);
    if (!shown.isEmpty() && shownVolume.isValid() && shownVolume.rootPath() == shown)
        AddVolume(shown, VolumeText(shownVolume));
    setCurrentIndex(IndexOfRoot(shown));
}

void DriveListBox::AddVolume(const QString &root, const QString &text)
{
    if (IndexOfRoot(root) < 0)
        addItem(text, root);
}

void DriveListBox::showPopup()
{
    Refresh();
    QComboBox::showPopup();
}

void DriveListBox::OnUserChoice(int)
{
    emit Change();
}

int DriveListBox::IndexOfRoot(const QString &root) const
{
    return findData(root);
}

int DriveListBox::IndexAdding(const QStorageInfo &volume)
{
    const int index = IndexOfRoot(volume.rootPath());
    if (index >= 0)
        return index;
    AddVolume(volume.rootPath(), VolumeText(volume));
    return IndexOfRoot(volume.rootPath());
}
