// Saves against real files: what a save keeps of the file it replaces, and
// which leftovers of killed saves are cleared.
#include "base/atomic_file.h"

#include "base/file_names.h"
#include "fakes/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

mode_t Mode(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(AtomicFile, ASaveKeepsTheModeAndWritesThroughLinks)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Reelbox.ini");
    Put(file, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(dir.filePath("elsewhere")));
    // A link in the settings folder, relative, to a link elsewhere, to the file.
    const QString far = dir.filePath("elsewhere/list.rdm");
    Put(far, "old list");
    ASSERT_TRUE(QFile::link(far, dir.filePath("elsewhere/link.rdm")));
    ASSERT_EQ(::symlink("elsewhere/link.rdm", QFile::encodeName(dir.filePath("Reelbox00.rdm")).constData()), 0);

    EXPECT_TRUE(WriteFileAtomically(file, "new"));
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(Mode(file), 0600u);
    EXPECT_TRUE(WriteFileAtomically(dir.filePath("Reelbox00.rdm"), "new list"));
    EXPECT_EQ(Read(far), "new list");
    EXPECT_TRUE(QFileInfo(dir.filePath("Reelbox00.rdm")).isSymLink());
    EXPECT_TRUE(RemoveFileDurably(dir.filePath("Reelbox00.rdm")));
    EXPECT_FALSE(QFile::exists(far)) << "the file named is removed, the links stay";
    EXPECT_TRUE(QFileInfo(dir.filePath("Reelbox00.rdm")).isSymLink());
    EXPECT_TRUE(WriteFileAtomically(dir.filePath("Reelbox00.rdm"), "again"));
    EXPECT_EQ(Read(far), "again");
    {
        FileSizeLimit fullDisk;
        EXPECT_FALSE(WriteFileAtomically(file, "lost"));
    }
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoSymLinks), QStringList{"Reelbox.ini"})
        << "no temporary left";
}

TEST(AtomicFile, TwoProcessesSavingOneFileTogetherBothSucceed)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Reelbox.ini");
    const QByteArray contents[2] = {QByteArray(20000, 'a'), QByteArray(30000, 'b')};
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < 200; ++i)
                failures += WriteFileAtomically(file, contents[c]) ? 0 : 1;
            ::_exit(failures > 0 ? 1 : 0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    const QByteArray last = Read(file);
    EXPECT_TRUE(last == contents[0] || last == contents[1]) << last.size() << " bytes";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Reelbox.ini"});
}

TEST(AtomicFile, LeftoversOfKilledSavesGoAndNothingElse)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Reelbox00.rdm");
    const QString running = QString::number(::getpid());
    const QStringList gone = {"Reelbox00.rdm.999999999.0.tmp", "Reelbox00.rdm.999999998.12.tmp", "Reelbox00.rdm.tmp"};
    const QStringList kept = {"Reelbox00.rdm",
                              "Reelbox00.rdm." + running + ".3.tmp",
                              "Reelbox00.rdm.1.tmp",
                              "Reelbox00.rdm.x.1.tmp",
                              "Reelbox00.rdm.999999999.0.tmp.bak",
                              "Reelbox01.rdm.tmp",
                              "notes.tmp",
                              "Reelbox00.rdm.bak"};
    for (const QString &name : gone + kept)
        Put(dir.filePath(name), "x");
    EXPECT_EQ(RemoveSaveLeftovers(file), 3);
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    QStringList expected = kept;
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}

// A settings folder whose name is not UTF-8 (an old disk's Shift_JIS) is
// saved into, cleared of leftovers and removed from like any other.
TEST(AtomicFile, SavesIntoAFolderWhoseNameIsNotUtf8)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\x83\x72";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QString file = DecodeFileName(folder + "/Reelbox00.rdm");
    const QByteArray leftover = folder + "/Reelbox00.rdm.999999999.0.tmp";
    ::close(::open(leftover.constData(), O_WRONLY | O_CREAT, 0600));

    EXPECT_TRUE(WriteFileAtomically(file, "records"));
    const std::optional<QByteArray> saved = ReadRegularFile(file);
    EXPECT_EQ(saved.value_or("<missing>"), "records");
    EXPECT_EQ(RemoveSaveLeftovers(file), 1);
    EXPECT_TRUE(RemoveFileDurably(file));
    EXPECT_EQ(KindOfPath(file), PathKind::Missing);
    EXPECT_EQ(::rmdir(folder.constData()), 0) << "something was left in it";
}

} // namespace
