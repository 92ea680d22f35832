// The metafile reader against a table of lines: comments and blanks, relative
// and absolute paths, file URLs, network and other schemes, CRLF, Shift_JIS, names that
// look escaped, missing entries, and the per-entry start and end times.

#include "media/real_metafile.h"

#include "base/file_kinds.h"
#include "base/file_names.h"
#include "fakes/program_folder.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

class Metafile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"a.rm", "sub/b.rm", "space name.rm", "name #1 %20.rm", "what?.rm"})
            folder_.Write(name, "x");
    }
    QString In(const QString &name) const { return folder_.FilePath(name); }
    ProgramFolder folder_;
};

TEST_F(Metafile, EachLineGivesItsEntry)
{
    const std::optional<double> none;
    const struct
    {
        QByteArray text;
        QList<MetafileEntry> entries;
    } rows[] = {
        {"# a comment\n\n   \n#a.rm\n", {}},
        {"a.rm\n", {{In("a.rm"), none, none}}},
        {"  sub/b.rm  \n", {{In("sub/b.rm"), none, none}}},
        {"sub/../a.rm", {{In("a.rm"), none, none}}},
        {"/elsewhere/c.rm", {{"/elsewhere/c.rm", none, none}}},
        {"a.rm\r\nsub/b.rm\r\n", {{In("a.rm"), none, none}, {In("sub/b.rm"), none, none}}},
        {("file://" + In("a.rm")).toUtf8(), {{In("a.rm"), none, none}}},
        {("FILE://localhost" + In("a.rm")).toUtf8(), {{In("a.rm"), none, none}}},
        // A file URL is always decoded, to the bytes of the name; one that names
        // no local file soundly (a host, a relative path, %00, %2F) is left out.
        {("file://" + In("name%20%231%20%2520.rm")).toUtf8(), {{In("name #1 %20.rm"), none, none}}},
        {("file://" + In("%83%72.rm?start=5")).toUtf8(),
         {{DecodeFileName(folder_.Path().toUtf8() + "/\x83\x72.rm"), 5.0, none}}},
        {"file://sub/b.rm\nfile://otherhost/a.rm\nfile:///a%00.rm\nfile:///sub%2Fb.rm", {}},
        // Elsewhere escapes are decoded only where the name as written names no file.
        {"space%20name.rm", {{In("space name.rm"), none, none}}},
        {"what?.rm", {{In("what?.rm"), none, none}}},
        {"missing.rm", {{In("missing.rm"), none, none}}},
        {QByteArray("a.rm\0b.rm\nsub/b.rm", 18), {{In("sub/b.rm"), none, none}}}, // no name holds a NUL
        // Other schemes go to the engine untouched, query and all.
        {"http://example.com/a.rm\nrtsp://example.com/b.rm?start=10\nHTTPS://example.com/c%20d.rm",
         {{"http://example.com/a.rm", none, none},
          {"rtsp://example.com/b.rm?start=10", none, none},
          {"HTTPS://example.com/c%20d.rm", none, none}}},
        // Only those of the network schemes: the engine's own protocols, and
        // schemes no metafile names, are skipped.
        {"fdclose://3\nav://lavfi:testsrc\nmms://example.com/a\nmemory://x\nftp://example.com/b.rm\n"
         "PNM://example.com/c.rm\nrtmp://example.com/d\n",
         {{"mms://example.com/a", none, none},
          {"PNM://example.com/c.rm", none, none},
          {"rtmp://example.com/d", none, none}}},
        {"a.rm?start=1:30&end=2:00.5", {{In("a.rm"), 90.0, 120.5}}},
        {"sub/b.rm?end=\"10\"", {{In("sub/b.rm"), none, 10.0}}},
        {"a.rm?start=soon", {{In("a.rm?start=soon"), none, none}}},
        {"a.rm?volume=5", {{In("a.rm?volume=5"), none, none}}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ParseMetafile(row.text, folder_.Path()), row.entries) << row.text.toStdString();
}

TEST_F(Metafile, ShiftJisTextFromWindowsIsRead)
{
    const QString name = QStringLiteral("日本語.rm");
    folder_.Write(name, "x");
    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray text = QByteArray("# clips\r\n") + shiftJis.encode(name) + "\r\n";
    EXPECT_EQ(ParseMetafile(text, folder_.Path()), (QList<MetafileEntry>{{In(name), {}, {}}}));
}

TEST_F(Metafile, IsReadFromItsFileAndItsFolder)
{
    const QString ram = folder_.Write("sub/list.ram", "b.rm\n../a.rm\n");
    EXPECT_EQ(ReadMetafile(ram), (QList<MetafileEntry>{{In("sub/b.rm"), {}, {}}, {In("a.rm"), {}, {}}}));
    EXPECT_TRUE(ReadMetafile(In("none.ram")).isEmpty());
    EXPECT_TRUE(IsMetafileName("/x/LIST.RAM"));
    EXPECT_FALSE(IsMetafileName("/x/list.rm"));
}

TEST(MetafileTime, ReadsEachForm)
{
    const struct
    {
        const char *text;
        std::optional<double> seconds;
    } rows[] = {
        {"90", 90},          {"1:30", 90},           {"01:00:00", 3600},   {"1:00:00:00", 86400},
        {"2.5", 2.5},        {"0:01.25", 1.25},      {" \"5\" ", 5},       {"", std::nullopt},
        {"x", std::nullopt}, {"1::2", std::nullopt}, {"-3", std::nullopt}, {"1:2:3:4:5", std::nullopt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ParseMetafileTime(row.text), row.seconds) << row.text;
}

} // namespace
