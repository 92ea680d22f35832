#include "platform/drive_list_box.h"

#include <QDir>
#include <QSignalBlocker>

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
