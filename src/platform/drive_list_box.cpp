#include "platform/drive_list_box.h"

#include <QDir>

namespace {

bool IsSystemMount(const QString &root)
{
    static const QStringList hidden{QStringLiteral("/proc"), QStringLiteral("/sys"),
                                    QStringLiteral("/dev"), QStringLiteral("/run")};
    for (const QString &prefix : hidden) {
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

QString VolumeText(const QStorageInfo &volume)
{
    const QString label = volume.displayName();
    return label.isEmpty() || label == volume.rootPath()
        ? volume.rootPath()
        : QStringLiteral("%1 [%2]").arg(volume.rootPath(), label);
}

} // namespace

QList<QStorageInfo> UserVolumes()
{
    QList<QStorageInfo> volumes;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !IsSystemMount(volume.rootPath()))
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
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return;
    const int index = IndexAdding(volume);
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    emit Change();
}

void DriveListBox::Refresh()
{
    const QString shown = Drive();
    clear();
    for (const QStorageInfo &volume : UserVolumes())
        addItem(VolumeText(volume), volume.rootPath());
    setCurrentIndex(IndexOfRoot(shown));
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
    addItem(VolumeText(volume), volume.rootPath());
    return count() - 1;
}
