#pragma once
// Tells when a drive comes or goes: a disk plugged in or pulled out, a share
// mounted or unmounted. The kernel wakes the mount table's reader when the
// table changes, so the watch costs nothing while nothing happens. The mount
// table (base/mount_table.h) is read again before anyone hears of a change.

#include <QObject>

class QSocketNotifier;

class MountWatcher : public QObject
{
    Q_OBJECT
public:
    explicit MountWatcher(QObject *parent = nullptr);
    ~MountWatcher() override;

signals:
    // Something was mounted or unmounted in this process's view of the system.
    void Changed();

private:
    int fd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
};
