// File names as bytes: the lossless mapping both ways, how names read on the
// screen, and the kinds of what a path names, without opening it.

#include "base/file_names.h"

#include "base/file_url.h"
#include "fakes/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(FileNames, BytesComeBackAsTheyWereAndReadAsTheUserKnowsThem)
{
    const struct
    {
        QByteArray bytes;
        QString shown;
    } rows[] = {
        {"/v/a.avi", "/v/a.avi"},
        {"/v/\xE6\x98\xA0\xE7\x94\xBB.avi", QStringLiteral("/v/映画.avi")},       // UTF-8
        {"/v/\x83\x72\x83\x66\x83\x49.avi", QStringLiteral("/v/ビデオ.avi")},     // Shift_JIS
        {"/\xE6\x98\xA0/\x83\x72\x83\x66\x83\x49", QStringLiteral("/映/ビデオ")}, // one of each
        {"/v/\xFF\xFE.avi", QStringLiteral("/v/\uFFFD\uFFFD.avi")},               // neither
        {"/v/\xED\xA0\x80.avi", QStringLiteral("/v/\uFFFD\uFFFD\uFFFD.avi")},     // an encoded surrogate
        {"/v/\xC0\xAF.avi", QStringLiteral("/v/ﾀｯ.avi")},                         // an overlong "/", but Shift_JIS kana
        {"/v/\xE6", QStringLiteral("/v/\uFFFD")},                                 // cut short
    };
    for (const auto &row : rows) {
        const QString name = DecodeFileName(row.bytes);
        EXPECT_EQ(EncodeFileName(name), row.bytes) << row.bytes.toHex().constData();
        EXPECT_EQ(HasForeignBytes(name), QString::fromUtf8(row.bytes).toUtf8() != row.bytes);
        EXPECT_EQ(DisplayFileName(name), row.shown) << row.bytes.toHex().constData();
        EXPECT_EQ(LocalPathOfFileUrl(FileUrlOfPath(name).toStdString(), ""), row.bytes.toStdString())
            << "the URL names the same bytes";
    }
    EXPECT_EQ(DecodeFileName("/v/\xE6\x98\xA0"), QStringLiteral("/v/映"));
    EXPECT_EQ(FileUrlOfPath(DecodeFileName("/v/a b\xFF.avi")), "file:///v/a%20b%FF.avi");
}

TEST(FileNames, KindsAreToldWithoutOpeningAnything)
{
    ProgramFolder folder;
    const QString file = folder.Write("a.avi", "x");
    const QString fifo = folder.FilePath("pipe.avi");
    ASSERT_EQ(mkfifo(EncodeFileName(fifo).constData(), 0600), 0);
    const QByteArray foreign = EncodeFileName(folder.FilePath("")) + "/\x83\x72.avi";
    ASSERT_EQ(symlink(EncodeFileName(file).constData(), foreign.constData()), 0);

    EXPECT_EQ(KindOfPath(file), PathKind::File);
    EXPECT_EQ(KindOfPath(DecodeFileName(foreign)), PathKind::File) << "a name's bytes reach the disk";
    EXPECT_EQ(KindOfPath(folder.Path()), PathKind::Folder);
    EXPECT_EQ(KindOfPath(fifo), PathKind::Other);
    EXPECT_EQ(KindOfPath(folder.FilePath("none.avi")), PathKind::Missing);
    EXPECT_EQ(ReadRegularFile(file), QByteArray("x"));
    EXPECT_FALSE(ReadRegularFile(fifo)) << "refused at once, never waiting for a writer";
    EXPECT_FALSE(IsReadableFile(fifo));
    EXPECT_TRUE(RemoveFileAt(DecodeFileName(foreign)));
    EXPECT_EQ(KindOfPath(DecodeFileName(foreign)), PathKind::Missing);
}

} // namespace
