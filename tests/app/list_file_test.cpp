// The favourites group list files: fixed 255-byte records on disk.

#include "app/list_file.h"

#include "app/reelbox_b.h"
#include "base/file_names.h"
#include "fakes/file_size_limit.h"
#include "fakes/list_records.h"
#include "fakes/program_folder.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(ListFile, NamesCarryTheTwoDigitGroup)
{
    EXPECT_EQ(ListFileTitle(0), "Reelbox00.rdm");
    EXPECT_EQ(ListFileTitle(19), "Reelbox19.rdm");
}

TEST(ListFile, ThreeEntriesMakeExactly765BytesWithRecord2AtByte255)
{
    ProgramFolder folder;
    const QString file = folder.FilePath("Reelbox00.rdm");
    ASSERT_TRUE(WriteListFile(file, Records({"/a.avi", "/b.avi", "/c.avi"})));
    const QByteArray bytes = folder.Read("Reelbox00.rdm");
    ASSERT_EQ(bytes.size(), 765);
    EXPECT_EQ(bytes.mid(255, 6), "/b.avi");
    EXPECT_EQ(bytes.mid(261, 249), QByteArray(249, ' '));
    EXPECT_EQ(Paths(ReadListFile(file)), (QStringList{"/a.avi", "/b.avi", "/c.avi"}));
}

TEST(ListFile, RecordCountDropsThePartialRecord)
{
    ProgramFolder folder;
    const struct
    {
        int length;
        qint16 records;
    } cases[] = {{765, 3}, {800, 3}, {200, 0}, {255, 1}};
    for (const auto &c : cases) {
        const QString file = folder.Write("g.rdm", QByteArray(c.length, ' '));
        EXPECT_EQ(ListFileRecordCount(file), c.records) << c.length;
        EXPECT_EQ(ReadListFile(file).size(), c.records) << c.length;
    }
    EXPECT_EQ(ListFileRecordCount(folder.FilePath("missing.rdm")), 0);
}

TEST(ListFile, LongPathsAreCutAndBlanksTrimmed)
{
    const QString longPath = "/" + QString(300, 'x');
    EXPECT_EQ(EncodeListRecord(longPath), ("/" + QString(254, 'x')).toUtf8());
    EXPECT_EQ(DecodeListRecord(EncodeListRecord("  /with blanks/a.avi  ")), "/with blanks/a.avi");
}

TEST(ListFile, RecordsKeepTheBytesOfTheNamesTheyHold)
{
    // A name from an old Windows disk: Shift_JIS bytes, not UTF-8.
    const QByteArray foreign = "/media/usb/\x83\x72\x83\x66\x83\x49.avi";
    const struct
    {
        QByteArray record;
        QByteArray path;
    } rows[] = {
        {"/a.avi" + QByteArray(249, ' '), "/a.avi"},
        {"/a.avi" + QByteArray(249, '\0'), "/a.avi"},                        // NUL padded
        {QByteArray("/a.avi\0/b.avi", 13) + QByteArray(242, ' '), "/a.avi"}, // up to the first NUL
        {foreign.leftJustified(255, ' '), foreign},                          // bytes as they are
        {QByteArray(255, ' '), ""},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(ListRecordPath(row.record), row.path) << row.record.constData();
        EXPECT_EQ(EncodeFileName(DecodeListRecord(row.record)), row.path) << row.record.constData();
    }
    EXPECT_EQ(EncodeListRecord(DecodeFileName(foreign)), foreign.leftJustified(255, ' '));
    EXPECT_TRUE(FitsListRecord(DecodeFileName(foreign)));
    EXPECT_FALSE(FitsListRecord("/clips/a.avi ")) << "its blank would read as padding";
}

TEST(ListFile, AFifoIsNeverOpenedToWaitForAWriter)
{
    ProgramFolder folder;
    const QString fifo = folder.FilePath("Reelbox02.rdm");
    ASSERT_EQ(mkfifo(EncodeFileName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ListFileRecordCount(fifo), 0);
    EXPECT_TRUE(ReadListFile(fifo).isEmpty()); // returns at once
}

TEST(ListFile, EmptyListRemovesTheFile)
{
    ProgramFolder folder;
    const QString file = folder.Write("Reelbox03.rdm", QByteArray(255, ' '));
    EXPECT_TRUE(WriteListFile(file, {}));
    EXPECT_FALSE(folder.Exists("Reelbox03.rdm"));
    EXPECT_TRUE(WriteListFile(file, {})); // nothing to remove is no failure
}

TEST(LoadGroup, KeepsEveryRecordAsItIsWhetherItsFileIsThereOrNot)
{
    ProgramFolder folder;
    const QString kept = folder.Write("clips/kept.avi", "x");
    const QList<QByteArray> records{EncodeListRecord(kept), EncodeListRecord(folder.FilePath("clips/gone.avi")),
                                    EncodeListRecord(folder.MakeFolder("clips/sub")), EncodeListRecord("   " + kept)};
    folder.Write("Reelbox07.rdm", records.join() + "partial");
    Reelbox_B b(folder.Path());
    EXPECT_EQ(b.LoadGroup(7).ToList(), records);
    EXPECT_EQ(b.RecordCount, 4);
    EXPECT_TRUE(b.LoadGroup(8).isEmpty());
    EXPECT_EQ(b.RecordCount, 0);
    folder.Write("Reelbox09.rdm", records.first().left(254)); // shorter than one record
    EXPECT_TRUE(b.LoadGroup(9).isEmpty());
    EXPECT_EQ(b.RecordCount, 0);
}

TEST(LoadGroup, ReadsShiftJisRecordsFromJapaneseWindows)
{
    ProgramFolder folder;
    const QString clip = folder.Write(QStringLiteral("映画.avi"), "x");
    QByteArray record = folder.Path().toUtf8() + "/\x89\x66\x89\xe6.avi"; // 映画 in Shift_JIS
    record.append(255 - record.size(), ' ');
    folder.Write("Reelbox01.rdm", record);
    Reelbox_B b(folder.Path());
    EXPECT_EQ(Paths(b.LoadGroup(1)), QStringList{clip});
}

TEST(SaveGroup, ReplacesTheOldFileOnlyOnceTheNewOneIsWhole)
{
    ProgramFolder folder;
    const QByteArray old = EncodeListRecord("/old.avi");
    folder.Write("Reelbox05.rdm", old);
    Reelbox_B b(folder.Path());
    {
        FileSizeLimit fullDisk;
        EXPECT_FALSE(b.SaveGroup(5, Records({"/new.avi"})));
    }
    EXPECT_EQ(folder.Read("Reelbox05.rdm"), old);
    EXPECT_TRUE(b.SaveGroup(5, Records({"/new.avi"})));
    EXPECT_EQ(folder.Read("Reelbox05.rdm"), EncodeListRecord("/new.avi"));
    EXPECT_EQ(QDir(folder.Path()).entryList({"*.tmp"}), QStringList());
}

} // namespace
