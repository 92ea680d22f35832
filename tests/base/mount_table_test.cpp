// The mount table as read once: its lines parsed, and the mount that holds a
// path the one the system itself names.

#include "base/mount_table.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MountTable, ParsesMountInfoLinesWithOptionalFieldsAndEscapes)
{
    const QByteArray text = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                            "30 27 8:1 / /media/ann/Backup\\040Disk rw shared:5 master:1 - ntfs3 /dev/sdb1 rw\n"
                            "31 27 0:40 / /mnt/nas rw - nfs4 nas:/videos rw\n"
                            "not a mount line\n";
    const QList<Mount> mounts = ParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3);
    EXPECT_EQ(mounts[0].root, "/proc");
    EXPECT_EQ(mounts[0].type, "proc");
    EXPECT_EQ(mounts[1].root, "/media/ann/Backup Disk");
    EXPECT_EQ(mounts[1].type, "ntfs3");
    EXPECT_EQ(mounts[1].device, "/dev/sdb1");
    EXPECT_EQ(mounts[2].device, "nas:/videos");

    const MountTable table(mounts);
    ASSERT_EQ(table.Volumes().size(), 1) << "kernel and device-less mounts are no volumes";
    EXPECT_EQ(table.Volumes()[0].root, "/media/ann/Backup Disk");
}

TEST(MountTable, TheMountHoldingAPathIsTheOneTheSystemNames)
{
    QTemporaryDir folder;
    const MountTable &table = MountTable::Current();
    for (const QString &path : {folder.path(), QStringLiteral("/"), QStringLiteral("/proc/self/status"),
                                QStringLiteral("/dev/shm"), QStringLiteral("/sys/kernel")})
        EXPECT_EQ(table.RootOf(path), QStorageInfo(path).rootPath()) << path.toStdString();
    EXPECT_EQ(table.RootOf(folder.filePath("missing")), "");
    EXPECT_TRUE(table.MountAt("/").has_value());
}

} // namespace
