#include "desktop/mount_watcher.h"

#include "base/mount_table.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

MountWatcher::MountWatcher(QObject *parent)
    : QObject(parent)
{
    // /proc/self/mounts reports a change of the table as an exceptional
    // condition (POLLPRI) once after each change.
    fd_ = ::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        MountTable::Reread();
        emit Changed();
    });
}

MountWatcher::~MountWatcher()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}
