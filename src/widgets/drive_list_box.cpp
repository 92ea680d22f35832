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

QString VolumeText(const Mount &volume)
{
    return volume.label.isEmpty() || volume.label == volume.root
               ? volume.root
               : QStringLiteral("%1 [%2]").arg(volume.root, volume.label);
}

} // namespace

bool IsBrowsableMount(QStringView root, QByteArrayView fileSystemType)
{
    if (root == u"/")
        return true;
    return !IsPseudoFileSystem(fileSystemType) && !IsSystemPlace(root);
}

QList<Mount> UserVolumes()
{
    QList<Mount> volumes;
    for (const Mount &volume : MountTable::Current().Volumes()) {
        if (volume.ready && IsBrowsableMount(volume.root, volume.type))
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
        const MountTable &table = MountTable::Current();
        const std::optional<Mount> volume = table.MountAt(table.RootOf(path));
        if (!volume)
            return;
        index = IndexAdding(*volume);
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
    for (const Mount &volume : UserVolumes())
        AddVolume(volume.root, VolumeText(volume));
    // The drive of the folder shown stays listed while it is mounted, even
    // where the list would not offer it (the user reached it some other way).
    if (const std::optional<Mount> shownVolume = MountTable::Current().MountAt(shown))
        AddVolume(shown, VolumeText(*shownVolume));
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

int DriveListBox::IndexAdding(const Mount &volume)
{
    const int index = IndexOfRoot(volume.root);
    if (index >= 0)
        return index;
    AddVolume(volume.root, VolumeText(volume));
    return IndexOfRoot(volume.root);
}
