// The drive, folder and file lists over real folders.

#include "base/file_names.h"
#include "base/folder_listing.h"
#include "base/natural_sort.h"
#include "fakes/program_folder.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/drop_formats.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"

#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString AllKinds = "*.ram;*.rm;*.avi;*.mpeg;*.mpg;*.asf;*.wmv;*.divx;*.dat;*.rmvb";

QStringList Matching(const ProgramFolder &folder, const QString &patterns)
{
    QStringList names;
    EXPECT_TRUE(MatchingFiles(folder.Path(), patterns, names));
    return names;
}

TEST(FileFilter, EachKindListsItsFilesWithoutRegardToCase)
{
    ProgramFolder folder;
    for (const char *name : {"a.ram", "b.RM", "c.avi", "d.AVI", "e.mpeg", "f.mpg", "g.asf", "h.WMV", "i.divx", "j.dat",
                             "k.rmvb", "x.avi.txt", "notes.txt"})
        folder.Write(name, "x");
    folder.MakeFolder("folder.avi");
    const struct
    {
        QString patterns;
        QStringList names;
    } kinds[] = {
        {AllKinds,
         {"a.ram", "b.RM", "c.avi", "d.AVI", "e.mpeg", "f.mpg", "g.asf", "h.WMV", "i.divx", "j.dat", "k.rmvb"}},
        {"*.ram;*.rm;*.rmvb", {"a.ram", "b.RM", "k.rmvb"}},
        {"*.avi", {"c.avi", "d.AVI"}},
        {"*.mpeg;*.mpg", {"e.mpeg", "f.mpg"}},
        {"*.wmv", {"h.WMV"}},
        {"*.asf", {"g.asf"}},
        {"*.divx", {"i.divx"}},
        {"*.dat", {"j.dat"}},
    };
    for (const auto &kind : kinds)
        EXPECT_EQ(Matching(folder, kind.patterns), kind.names) << kind.patterns.toStdString();
}

TEST(FileFilter, NamesSortAsAFileManagerSortsThem)
{
    QStringList names{"clip10.avi", "Clip2.avi", "clip1.avi", "b.avi", "A.avi"};
    SortNaturally(names);
    EXPECT_EQ(names, (QStringList{"A.avi", "b.avi", "clip1.avi", "Clip2.avi", "clip10.avi"}));

    // A big folder's names, whose keys are made on two threads, sort the same way.
    QStringList many;
    for (int i = 4999; i >= 0; --i)
        many.append(QStringLiteral("%1 %2.avi").arg(i % 2 ? "Clip" : "clip").arg(i));
    SortNaturally(many);
    ASSERT_EQ(many.size(), 5000);
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(many[i].endsWith(QStringLiteral(" %1.avi").arg(i))) << many[i].toStdString();
}

// Patterns of a file-type filter: name endings without regard to case, and
// wildcards of any other form.
TEST(FileFilter, PatternsMatchEndingsAndWildcards)
{
    const FilePatterns kinds("*.avi;*.MPG;clip?.*");
    for (const char *name : {"a.avi", "B.AVI", "c.mpg", "clip1.txt", "x.y.Avi"})
        EXPECT_TRUE(kinds.Matches(name)) << name;
    for (const char *name : {"avi", "a.avi.txt", "a_avi", "clip10.txt", "a.mpeg"})
        EXPECT_FALSE(kinds.Matches(name)) << name;
}

// The folder shown at start-up is read, sorted, while the window is built;
// the reading goes to whoever asks for that folder, once.
TEST(FolderListing, APrefetchedReadingIsSortedAndTakenOnce)
{
    ProgramFolder folder;
    for (const char *name : {"clip10.avi", "Clip2.avi", "clip1.avi"})
        folder.Write(name, "x");
    folder.MakeFolder("sub10");
    folder.MakeFolder("sub9");
    FolderPrefetch prefetch(folder.Path() + "/");
    EXPECT_FALSE(prefetch.Take(folder.FilePath("sub9")));
    const std::optional<FolderListing> reading = prefetch.Take(folder.Path());
    ASSERT_TRUE(reading);
    EXPECT_TRUE(reading->sorted);
    EXPECT_EQ(reading->files, (QStringList{"clip1.avi", "Clip2.avi", "clip10.avi"}));
    EXPECT_EQ(reading->subfolders, (QStringList{"sub9", "sub10"}));
    EXPECT_FALSE(prefetch.Take(folder.Path())) << "taken once";

    FileListBox files;
    files.SetPattern("*.avi");
    files.SetListing(*reading);
    EXPECT_EQ(files.List(2), "clip10.avi");
}

// One reading gives the folder's files and subfolders, hidden ones left out,
// links taken as what they point to.
TEST(FolderListing, ReadsFilesAndSubfoldersOnce)
{
    ProgramFolder folder;
    folder.Write("a.avi", "x");
    folder.Write(".hidden.avi", "x");
    folder.MakeFolder("sub");
    folder.MakeFolder(".cache");
    QFile::link(folder.FilePath("a.avi"), folder.FilePath("link.avi"));
    QFile::link(folder.FilePath("sub"), folder.FilePath("linked folder"));
    QFile::link(folder.FilePath("gone"), folder.FilePath("broken.avi"));
    const std::optional<FolderListing> listing = ReadFolder(folder.Path());
    ASSERT_TRUE(listing);
    QStringList files = listing->files, subfolders = listing->subfolders;
    files.sort();
    subfolders.sort();
    EXPECT_EQ(files, (QStringList{"a.avi", "link.avi"}));
    EXPECT_EQ(subfolders, (QStringList{"linked folder", "sub"}));
    EXPECT_FALSE(ReadFolder(folder.FilePath("a.avi")));
    EXPECT_FALSE(ReadFolder(folder.FilePath("missing")));
}

TEST(FileListBox, AVanishedFolderLeavesTheListAsItWas)
{
    ProgramFolder folder;
    folder.Write("clips/a.avi", "x");
    FileListBox list;
    list.SetPattern(AllKinds);
    ASSERT_TRUE(list.SetPath(folder.FilePath("clips")));
    EXPECT_FALSE(list.SetPath(folder.FilePath("gone")));
    EXPECT_EQ(list.Path(), folder.FilePath("clips"));
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.List(0), "a.avi");
    EXPECT_EQ(list.FileName(), ""); // nothing selected yet
    list.SetListIndex(0);
    EXPECT_EQ(list.FileName(), "a.avi");
}

TEST(FileListBox, DragCarriesTheFullPathAndItsUrl)
{
    std::unique_ptr<QMimeData> data(FileListBox::FileDragData("/clips/a b.avi"));
    EXPECT_EQ(FileListBox::DraggedFile(data.get()), "/clips/a b.avi");
    EXPECT_EQ(data->data(UriListFormat), "file:///clips/a%20b.avi\r\n");
    QMimeData text;
    text.setText("/etc/passwd"); // plain text from elsewhere is not a dragged file
    EXPECT_EQ(FileListBox::DraggedFile(&text), "");
}

TEST(DirListBox, AFolderWhoseNameIsNotUtf8OpensAndListsItsFilesUnderTheirBytes)
{
    ProgramFolder folder;
    const QByteArray shiftJis = EncodeFileName(folder.Path()) + "/\x83\x72\x83\x66\x83\x49"; // ビデオ
    ASSERT_EQ(mkdir(shiftJis.constData(), 0700), 0);
    ::close(::open((shiftJis + "/\x83\x72.avi").constData(), O_CREAT | O_WRONLY, 0600));
    DirListBox dirs;
    ASSERT_TRUE(dirs.SetPath(folder.Path()));
    ASSERT_EQ(dirs.item(dirs.count() - 1)->text().trimmed(), QStringLiteral("ビデオ"));
    ASSERT_TRUE(dirs.SetPath(dirs.item(dirs.count() - 1)->data(Qt::UserRole).toString()));
    FileListBox files;
    files.SetPattern("*.avi");
    files.SetListing(dirs.Listing());
    ASSERT_EQ(files.ListCount(), 1);
    EXPECT_EQ(EncodeFileName(files.Path() + "/" + files.List(0)), shiftJis + "/\x83\x72.avi");
    ::unlink((shiftJis + "/\x83\x72.avi").constData()); // names the temporary folder cannot spell
    ::rmdir(shiftJis.constData());
}

TEST(DirListBox, ShowsTheChainFromTheRootThenTheSubfolders)
{
    ProgramFolder folder;
    folder.MakeFolder("a/b/sub10");
    folder.MakeFolder("a/b/sub9");
    folder.Write("a/b/file.avi", "x");
    const QList<FolderRow> rows = FolderTreeRows(*ReadFolder(folder.FilePath("a/b")));
    const QStringList chain = folder.FilePath("a/b").split('/', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), chain.size() + 1 + 2);
    EXPECT_EQ(rows.first().path, "/");
    EXPECT_EQ(rows[chain.size()].path, folder.FilePath("a/b"));
    EXPECT_EQ(rows[chain.size()].name, "b");
    EXPECT_TRUE(rows[chain.size()].open);
    EXPECT_EQ(rows[chain.size() + 1].name, "sub9");
    EXPECT_EQ(rows[chain.size() + 2].name, "sub10");
    EXPECT_EQ(rows.last().depth, chain.size() + 1);
    EXPECT_FALSE(rows.last().open);
}

TEST(DirListBox, RefusesWhatCannotBeOpenedAndRemembersEachDrivesFolder)
{
    ProgramFolder folder;
    const QString deep = folder.MakeFolder("x/y");
    DirListBox list;
    int changes = 0;
    QObject::connect(&list, &DirListBox::Change, [&] { ++changes; });
    ASSERT_TRUE(list.SetPath(deep));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(list.SetPath(folder.FilePath("missing")));
    EXPECT_FALSE(list.SetPath(folder.Write("f.avi", "x")));
    EXPECT_EQ(list.Path(), deep);
    EXPECT_TRUE(list.SetPath(deep)); // the same folder again is no change
    EXPECT_EQ(changes, 1);

    const QString root = QStorageInfo(deep).rootPath();
    EXPECT_FALSE(list.OpenDrive(root).has_value());
    EXPECT_EQ(list.Path(), deep); // a drive opens on its current folder
    const std::optional<PlatformError> error = list.OpenDrive(folder.FilePath("no-such-drive"));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Number, DeviceUnavailable);
    EXPECT_EQ(list.Path(), deep);
}

TEST(DriveListBox, ShowsTheDriveThatHoldsAPath)
{
    ProgramFolder folder;
    DriveListBox drives;
    int changes = 0;
    QObject::connect(&drives, &DriveListBox::Change, [&] { ++changes; });
    drives.SetDrive(folder.Path());
    EXPECT_EQ(drives.Drive(), QStorageInfo(folder.Path()).rootPath());
    const int afterFirst = changes;
    drives.SetDrive(folder.Path()); // same drive: no change
    EXPECT_EQ(changes, afterFirst);
    for (const Mount &volume : UserVolumes())
        EXPECT_FALSE(volume.root.startsWith("/proc")) << volume.root.toStdString();
}

TEST(DriveListBox, OffersTheMountsAUserBrowsesAndHidesTheSystemsOwn)
{
    const struct
    {
        const char *root, *type;
        bool shown;
    } mounts[] = {
        {"/", "ext4", true},
        {"/", "overlay", true},
        {"/home", "ext4", true},
        {"/media/ann/STICK", "vfat", true},
        {"/run/media/ann/DVD", "udf", true},
        {"/run/media/ann/Backup Disk", "ntfs3", true},
        {"/mnt/nas", "nfs4", true},
        {"/mnt/phone", "fuse.jmtpfs", true},
        {"/tmp", "tmpfs", true},
        {"/data", "btrfs", true},
        {"/proc", "proc", false},
        {"/sys", "sysfs", false},
        {"/sys/fs/cgroup", "cgroup2", false},
        {"/dev", "devtmpfs", false},
        {"/dev/shm", "tmpfs", false},
        {"/run", "tmpfs", false},
        {"/run/user/1000", "tmpfs", false},
        {"/run/user/1000/doc", "fuse.portal", false},
        {"/run/lock", "tmpfs", false},
        {"/running", "ext4", true}, // only /run itself and what lies inside it
        {"/boot/efi", "vfat", false},
        {"/snap/core22/1380", "squashfs", false},
        {"/media/ann/live", "squashfs", false},
        {"/var/lib/docker/overlay2/x/merged", "overlay", false},
        {"/proc/sys/fs/binfmt_misc", "binfmt_misc", false},
    };
    for (const auto &mount : mounts)
        EXPECT_EQ(IsBrowsableMount(QString::fromUtf8(mount.root), mount.type), mount.shown)
            << mount.root << " (" << mount.type << ")";
}

TEST(DriveListBox, KeepsTheShownDriveWhenTheListIsReadAgain)
{
    DriveListBox drives;
    drives.SetDrive("/proc"); // not offered, but reached
    ASSERT_EQ(drives.Drive(), "/proc");
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "/proc");
    EXPECT_FALSE(drives.currentText().isEmpty());
}

// Counts the events that reach a widget or anything inside it.
struct EventCounter : QObject
{
    explicit EventCounter(QWidget &watched)
        : watched(watched)
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *target, QEvent *) override
    {
        if (target->isWidgetType() && watched.isAncestorOf(static_cast<QWidget *>(target)))
            ++count;
        else if (target == &watched)
            ++count;
        return false;
    }
    QWidget &watched;
    int count = 0;
};

// The list scrolls sideways over its whole extent, and once laid out it stays
// quiet: no layout pass may schedule another one.
TEST(ListBox, ScrollsOverItsExtentAndGoesIdleOnceShown)
{
    ListBox list;
    list.resize(200, 100);
    list.SetHorizontalExtent(500);
    list.AddItem("/a/short/path.avi");
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QTest::qWait(50);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 500 - list.viewport()->width());

    EventCounter events(list);
    QEventLoop idle; // not qWait, which itself wakes every few milliseconds
    QTimer::singleShot(300, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_LT(events.count, 20) << "the list keeps the event loop busy";
}

} // namespace
