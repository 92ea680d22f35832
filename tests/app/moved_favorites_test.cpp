// Finding the files of favourites that were moved: which folders are searched,
// what counts as the one new place, and the records that change.

#include "app/moved_favorites.h"

#include "app/list_file.h"
#include "base/file_names.h"
#include "fakes/program_folder.h"

#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace {

TEST(FilesUnder, StaysOnItsMountAtMostSixDownOutOfHiddenFoldersAndLinks)
{
    ProgramFolder root;
    root.Write("top.avi", "");
    root.Write("1/2/3/4/5/6/six.avi", "");
    root.Write("1/2/3/4/5/6/7/seven.avi", "");
    root.Write(".hidden/h.avi", "");
    root.Write("target.avi", "");
    ASSERT_EQ(::symlink(EncodeFileName(root.Path()).constData(), EncodeFileName(root.FilePath("1/loop")).constData()),
              0);
    ASSERT_EQ(::symlink("../target.avi", EncodeFileName(root.FilePath("1/link.avi")).constData()), 0);
    const QByteArray foreign = EncodeFileName(root.FilePath("1")) + "/\x83\x72.avi";
    ASSERT_EQ(::rename(EncodeFileName(root.Write("f", "")).constData(), foreign.constData()), 0);

    const std::atomic_bool cancel = false;
    const QMultiHash<QByteArray, FoundFile> files = FilesUnder(root.Path(), MovedFileSearchDepth, cancel);
    QStringList found;
    for (const FoundFile &file : files)
        found.append(file.path);
    found.sort();
    QStringList expected{root.FilePath("1/2/3/4/5/6/six.avi"), DecodeFileName(foreign), root.FilePath("target.avi"),
                         root.FilePath("top.avi")};
    expected.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(files.value("\x83\x72.avi").path, DecodeFileName(foreign));
    ::unlink(foreign.constData()); // the temporary folder is removed through Qt, which cannot name it
}

// The size seen last decides among files of the name; without one, only a
// name found once is taken.
TEST(MovedFileSearch, FindsTheOneFileOfAGoneEntrysNameAndSizeAndCallsTwoAmbiguous)
{
    ProgramFolder root;
    const QString moved = root.Write("clips/sub/moved.avi", "m");
    const QString twinA = root.Write("clips/a/twin.avi", "1");
    const QString twinB = root.Write("clips/b/twin.avi", "22");
    const QString sized = root.Write("clips/c/sized.avi", "333");
    root.Write("clips/d/sized.avi", "4444"); // a decoy of another size
    const QString equalA = root.Write("clips/e/equal.avi", "55");
    const QString equalB = root.Write("clips/f/equal.avi", "66");
    root.Write("clips/g/other.avi", "7"); // its only file of the name has another size
    const QString here = root.Write("clips/here.avi", "");
    root.Write("elsewhere/lost.avi", ""); // not under the entry's folder
    const QStringList entries{root.FilePath("clips/moved.avi"),
                              root.FilePath("clips/twin.avi"),
                              here,
                              root.FilePath("clips/lost.avi"),
                              root.FilePath("clips/gone/deeper/moved.avi"),
                              root.FilePath("clips/sized.avi"),
                              root.FilePath("clips/equal.avi"),
                              root.FilePath("clips/other.avi")};
    const FileSizes sizes{
        {EncodeFileName(entries[5]), 3}, {EncodeFileName(entries[6]), 2}, {EncodeFileName(entries[7]), 8}};

    MovedFileSearch search(entries, sizes);
    std::optional<QList<MovedFile>> found;
    QObject::connect(&search, &MovedFileSearch::Done, &search, [&](const QList<MovedFile> &files, bool cancelled) {
        EXPECT_FALSE(cancelled);
        found = files;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return found.has_value(); }, 10000));
    EXPECT_EQ(*found, (QList<MovedFile>{{entries[0], {moved}, true},
                                        {entries[1], {twinA, twinB}, true},
                                        {entries[4], {moved}, true},
                                        {entries[5], {sized}, false},
                                        {entries[6], {equalA, equalB}, false}}));
}

TEST(MendRecords, ReplacesTheRecordsOfMovedFilesAndKeepsEveryOtherByteForByte)
{
    const QByteArray nulPadded = QByteArray("/v/kept.avi") + QByteArray(244, '\0');
    const QByteArray shiftJis = EncodeListRecord(DecodeFileName("/v/\x83\x72.avi"));
    const QList<QByteArray> records{EncodeListRecord("/v/old.avi"), nulPadded, shiftJis,
                                    QByteArray("  /v/old.avi").leftJustified(255, ' ')};
    bool changed = false;
    const QList<QByteArray> mended = MendRecords(records, {{"/v/old.avi", "/v/new/old.avi"}}, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(mended, (QList<QByteArray>{EncodeListRecord("/v/new/old.avi"), nulPadded, shiftJis,
                                         EncodeListRecord("/v/new/old.avi")}));
    MendRecords({nulPadded, shiftJis}, {{"/v/old.avi", "/v/new/old.avi"}}, changed);
    EXPECT_FALSE(changed);
}

} // namespace
