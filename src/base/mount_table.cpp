#include "base/mount_table.h"

#include "base/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <sys/statfs.h>

namespace {

// Mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
QByteArray Unescaped(const QByteArray &field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                bytes.append(char(code));
                i += 3;
                continue;
            }
        }
        bytes.append(field[i]);
    }
    return bytes;
}

bool IsUnder(QStringView path, QStringView root)
{
    return root == u"/" || path == root || (path.startsWith(root) && path.mid(root.size()).startsWith(u'/'));
}

// The kernel's and the runtime's own mounts, as the volume lists of file
// managers leave them out: under /dev, /proc, /sys, /var/run or /var/lock,
// or without a device file (but tmpfs).
bool IsPseudoMount(const Mount &mount)
{
    for (QStringView place : {u"/dev", u"/proc", u"/sys", u"/var/run", u"/var/lock"})
        if (IsUnder(mount.root, place))
            return true;
    if (mount.type == "tmpfs")
        return false;
    return mount.type == "rootfs" || mount.type == "rpc_pipefs" || !mount.device.startsWith('/');
}

// The labels of the block devices that have one, by the device file's path
// (udev keeps a link per label, its blanks and slashes escaped as \xNN).
QHash<QString, QString> DeviceLabels()
{
    QHash<QString, QString> labels;
    const QDir folder(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo &link : folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        QByteArray label = link.fileName().toUtf8();
        label.replace("\\x20", " ").replace("\\x2f", "/").replace("\\x5c", "\\");
        labels.insert(link.canonicalFilePath(), QString::fromUtf8(label));
    }
    return labels;
}

MountTable ReadMountTable()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    QList<Mount> mounts = file.open(QIODevice::ReadOnly) ? ParseMountInfo(file.readAll()) : QList<Mount>();
    const QHash<QString, QString> labels = DeviceLabels();
    for (Mount &mount : mounts) {
        if (IsPseudoMount(mount))
            continue;
        struct statfs info;
        mount.ready = ::statfs(EncodeFileName(mount.root).constData(), &info) == 0;
        if (mount.device.startsWith('/'))
            mount.label = labels.value(QFileInfo(DecodeFileName(mount.device)).canonicalFilePath());
    }
    return MountTable(std::move(mounts));
}

MountTable &Table()
{
    static MountTable table = ReadMountTable();
    return table;
}

} // namespace

QList<Mount> ParseMountInfo(QByteArrayView text)
{
    QList<Mount> mounts;
    for (const QByteArray &line : text.toByteArray().split('\n')) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size())
            continue;
        mounts.append({DecodeFileName(Unescaped(fields[4])),
                       Unescaped(fields[dash + 1]),
                       Unescaped(fields[dash + 2]),
                       {},
                       false});
    }
    return mounts;
}

const MountTable &MountTable::Current()
{
    return Table();
}

void MountTable::Reread()
{
    Table() = ReadMountTable();
}

MountTable::MountTable(QList<Mount> mounts)
    : mounts_(std::move(mounts))
{
}

QList<Mount> MountTable::Volumes() const
{
    QList<Mount> volumes;
    for (const Mount &mount : mounts_)
        if (!IsPseudoMount(mount))
            volumes.append(mount);
    return volumes;
}

QString MountTable::RootOf(const QString &path) const
{
    const QString real = QFileInfo(path).canonicalFilePath();
    if (real.isEmpty())
        return {};
    QString root;
    for (const Mount &mount : mounts_)
        if (mount.root.size() >= root.size() && IsUnder(real, mount.root))
            root = mount.root; // the last of mounts stacked on one point is the one seen
    return root;
}

std::optional<Mount> MountTable::MountAt(const QString &root) const
{
    for (qsizetype i = mounts_.size() - 1; i >= 0; --i)
        if (mounts_[i].root == root)
            return mounts_[i];
    return std::nullopt;
}
