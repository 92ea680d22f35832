// The desktop trash: names in it, its notes, and a file that goes there and
// comes back with the bytes of its name.

#include "desktop/trash.h"

#include "base/file_names.h"
#include "fakes/program_folder.h"

#include <QDateTime>
#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(TrashEntryName, NumbersTakenNamesAndCutsAtACharacterSoTheNoteFits)
{
    const QByteArray longStem = QString(100, QChar(0x3042)).toUtf8(); // 300 bytes of あ
    const struct
    {
        QByteArray name;
        int attempt;
        QByteArray expected;
    } rows[] = {
        {"a.avi", 0, "a.avi"},
        {"a.avi", 1, "a.2.avi"},
        {"a.b.avi", 2, "a.b.3.avi"},
        {".hidden", 1, ".hidden.2"},
        {"noext", 1, "noext.2"},
        {"\x83\x72.avi", 1, "\x83\x72.2.avi"},
        {longStem + ".avi", 0, longStem.left(240) + ".avi"}, // 241 would split a character
        {longStem + ".avi", 1, longStem.left(237) + ".2.avi"},
    };
    for (const auto &row : rows) {
        const QByteArray name = TrashEntryName(row.name, row.attempt);
        EXPECT_EQ(name, row.expected) << row.name.toStdString() << " " << row.attempt;
        EXPECT_LE(name.size() + 10, 255);
    }
}

TEST(TrashInfoText, PercentEncodesThePathBytesAndGivesTheLocalSecond)
{
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7, 890));
    EXPECT_EQ(TrashInfoText("/v/a b%#\xff/\xc3\xa9-_.~x.avi", when),
              "[Trash Info]\nPath=/v/a%20b%25%23%FF/%C3%A9-_.~x.avi\nDeletionDate=2026-03-04T05:06:07\n");
}

class HomeTrash : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", home_.FilePath("share").toUtf8()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    // A file of content at the path of these bytes.
    void Place(const QByteArray &path, const QByteArray &content)
    {
        const QString written = files_.Write("placed", content);
        ASSERT_EQ(::rename(EncodeFileName(written).constData(), path.constData()), 0);
    }

    QByteArray ReadBytes(const QString &path)
    {
        const std::optional<QByteArray> bytes = ReadRegularFile(path);
        return bytes.value_or("(none)");
    }

    ProgramFolder home_;
    ProgramFolder files_;
};

TEST_F(HomeTrash, ANameThatIsNotUtf8GoesToTheTrashBesideOneOfItsNameAndComesBackAsItWas)
{
    const QByteArray name = EncodeFileName(files_.MakeFolder("v")) + "/\x83\x72 x.avi";
    const QString path = DecodeFileName(name);
    TrashedFile earlier, trashed;
    EXPECT_EQ(MoveFileToTrash(path, earlier), TrashResult::Failed) << "nothing there yet";
    Place(name, "earlier");
    ASSERT_EQ(MoveFileToTrash(path, earlier), TrashResult::Trashed);
    Place(name, "later");
    ASSERT_EQ(MoveFileToTrash(path, trashed), TrashResult::Trashed);

    const QByteArray trash = EncodeFileName(home_.FilePath("share/Trash"));
    EXPECT_EQ(trashed.trashedPath, DecodeFileName(trash + "/files/\x83\x72 x.2.avi"));
    EXPECT_EQ(trashed.infoPath, DecodeFileName(trash + "/info/\x83\x72 x.2.avi.trashinfo"));
    const QByteArray note = ReadBytes(trashed.infoPath);
    EXPECT_TRUE(note.startsWith("[Trash Info]\nPath=" + name.toPercentEncoding("/") + "\n")) << note.toStdString();
    EXPECT_EQ(KindOfPath(path), PathKind::Missing);

    Place(name, "in the way");
    EXPECT_EQ(RestoreFromTrash(earlier), RestoreResult::Occupied);
    EXPECT_EQ(ReadBytes(path), "in the way");
    EXPECT_EQ(ReadBytes(earlier.trashedPath), "earlier");
    ::unlink(name.constData());
    EXPECT_EQ(RestoreFromTrash(earlier), RestoreResult::Restored);
    EXPECT_EQ(ReadBytes(path), "earlier");
    EXPECT_EQ(KindOfPath(earlier.infoPath), PathKind::Missing);
    EXPECT_EQ(RestoreFromTrash(earlier), RestoreResult::Gone);
    // The temporary folders are removed through Qt, which cannot name these.
    for (const QString &left : {path, trashed.trashedPath, trashed.infoPath})
        ::unlink(EncodeFileName(left).constData());
}

// A file named through a link to its folder: the note keeps the path as
// given, where the user knows it and a restore puts it back.
TEST_F(HomeTrash, TheNoteNamesThePathAsGivenThroughALinkedFolder)
{
    const QString real = files_.MakeFolder("real");
    ASSERT_EQ(::symlink(EncodeFileName(real).constData(), EncodeFileName(files_.FilePath("link")).constData()), 0);
    files_.Write("real/clip.avi", "clip");
    const QString given = files_.FilePath("link/clip.avi");
    TrashedFile trashed;
    ASSERT_EQ(MoveFileToTrash(given, trashed), TrashResult::Trashed);
    EXPECT_TRUE(
        ReadBytes(trashed.infoPath).startsWith("[Trash Info]\nPath=" + EncodeFileName(given).toPercentEncoding("/")));
    EXPECT_EQ(RestoreFromTrash(trashed), RestoreResult::Restored);
    EXPECT_EQ(ReadBytes(given), "clip");
}

// Without renameat2's guard: never over what stands at the target.
TEST_F(HomeTrash, MovingByLinkingNeverReplacesAndLeavesNoSecondName)
{
    const QByteArray from = EncodeFileName(files_.Write("a.avi", "a"));
    const QByteArray taken = EncodeFileName(files_.Write("taken.avi", "t"));
    const QByteArray to = EncodeFileName(files_.FilePath("b.avi"));
    EXPECT_FALSE(MoveByLinking(from, taken));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadBytes(DecodeFileName(taken)), "t");
    EXPECT_EQ(ReadBytes(DecodeFileName(from)), "a");
    EXPECT_FALSE(MoveByLinking(EncodeFileName(files_.MakeFolder("folder")), to)) << "a folder has no second name";
    EXPECT_TRUE(MoveByLinking(from, to));
    EXPECT_EQ(ReadBytes(DecodeFileName(to)), "a");
    EXPECT_EQ(KindOfPath(DecodeFileName(from)), PathKind::Missing);
}

} // namespace
