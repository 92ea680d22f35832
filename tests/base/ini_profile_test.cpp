// The settings file against real files in a temporary folder: lookup and line rules
// as tables of file contents, writes as tables of before and after bytes.
#include "base/ini_profile.h"

#include "fakes/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

class IniFile : public ::testing::Test
{
protected:
    QString Path() const { return dir_.filePath("Reelbox.ini"); }
    // Puts bytes in the file; nullptr removes the file.
    void Put(const char *bytes) const
    {
        QFile file(Path());
        if (bytes) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) >= 0);
        } else {
            file.remove();
        }
    }
    QByteArray Bytes() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    std::string Read(const char *section, const char *key) const
    {
        return ReadProfileString(Path(), section, key).toStdString();
    }

    QTemporaryDir dir_;
};
using IniRead = IniFile;
using IniWrite = IniFile;

TEST_F(IniRead, FindsValuesByTheProfileRules)
{
    const struct
    {
        const char *file, *section, *key, *expected;
    } cases[] = {
        // names: ASCII case and surrounding blanks do not matter; the first match wins
        {"[section1]\r\nname1=val1\r\n", "SECTION1", "NaMe1", "val1"},
        {"[section1]\r\nname1=val1\r\n", " section1 ", "\tname1 ", "val1"},
        {"[ s ]\r\nk=first\r\nK=second\r\n[S]\r\nk=third\r\n", "s", "k", "first"},
        // blanks around key, '=' and value go; the first '=' splits; inner blanks stay
        {"[s]\r\n  key  =   value  \r\n", "s", "key", "value"},
        {"[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        {"[s]\r\n\tk = a  b\t\r\n", "s", "k", "a  b"},
        // matching quotes around the whole value go, others stay
        {"[s]\r\nk=\"val2\"\r\n", "s", "k", "val2"},
        {"[s]\r\nk=\" 1\"\r\n", "s", "k", " 1"},
        {"[s]\r\nk='x'\r\n", "s", "k", "x"},
        {"[s]\r\nk=\"x'\r\n", "s", "k", "\"x'"},
        // comments are whole lines only; lines without '=' are skipped
        {"[s]\r\n  ;k=hidden\r\nk=v ;note\r\n", "s", "k", "v ;note"},
        {"[s]\r\n;k=hidden\r\n", "s", ";k", ""},
        {"[s]\r\nstray text\r\nk=1\r\n", "s", "k", "1"},
        // LF, CR and CRLF line endings
        {"[s]\nj=0\rk=1\r\n[t]", "s", "k", "1"},
        // empty value; missing section; keys before any section or in another one
        {"[s]\r\nk=\r\n", "s", "k", ""},
        {"[t]\r\nk=1\r\n", "s", "k", ""},
        {"k=1\r\n[s]\r\nj=1\r\n[t]\r\nk=2\r\n", "s", "k", ""},
        // a byte-order mark is not part of the first line; Shift_JIS bytes load
        {"\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "1"},
        {"[s]\r\nPath=C:\\\x93\xae\x89\xe6\r\n", "s", "Path", "C:\\動画"},
        // each line is decoded by itself: a stray byte or a cut Shift_JIS character
        // elsewhere changes nothing; a value that is neither encoding is missing
        {"[o]\r\nx=\xff\r\n[s]\r\nk=動画\r\n", "s", "k", "動画"},
        {"[o]\r\nx=\x93\xae\x89\r\n[s]\r\nk=\x93\xae\x89\xe6\r\n", "s", "k", "動画"},
        {"[s]\r\nk=/a/\x93\xae\x89\r\nk=2\r\n", "s", "k", ""},
    };
    EXPECT_EQ(Read("s", "k"), "") << "missing file";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        Put(c.file);
        EXPECT_EQ(Read(c.section, c.key), c.expected);
    }
}

TEST_F(IniRead, CutsLongValuesAt255BytesWithoutSplittingACharacter)
{
    const std::string a253(253, 'a');
    const struct
    {
        std::string value, expected;
    } cases[] = {
        {std::string(300, 'a'), std::string(255, 'a')},
        {a253 + "é", a253 + "é"}, // exactly 255 bytes
        {a253 + "aé", a253 + "a"},
        {a253 + "動", a253},
    };
    for (const auto &c : cases) {
        Put(("[s]\r\nk=" + c.value).c_str());
        EXPECT_EQ(Read("s", "k"), c.expected) << c.value.size() << " bytes";
    }
}

TEST_F(IniWrite, ChangesOnlyWhatItMust)
{
    const struct
    {
        const char *before, *key, *value, *after;
    } cases[] = {
        // a missing file gets just the entry: UTF-8, no byte-order mark, CRLF
        {nullptr, " Path ", "C:\\動画", "[Section]\r\nPath=C:\\動画\r\n"},
        // a missing section goes at the end, after ending an unterminated last line
        {"[Other]\r\na=1", "k", "v", "[Other]\r\na=1\r\n[Section]\r\nk=v\r\n"},
        {"", "k", "v", "[Section]\r\nk=v\r\n"},
        // a missing key follows its section's last non-blank line
        {"[section]\r\na=1\r\n\r\n[Other]\r\n", "k", "v", "[section]\r\na=1\r\nk=v\r\n\r\n[Other]\r\n"},
        {"[Section]\na=1", "k", "v", "[Section]\na=1\r\nk=v\r\n"},
        // replacing keeps the file's spelling of the key and every other line and ending
        {"; c\n[SECTION]\r\n  KEY = old ;x\r\nj=1\n[o]\rKEY=z\r", "key", "new",
         "; c\n[SECTION]\r\nKEY=new\r\nj=1\n[o]\rKEY=z\r"},
        {"[Section]\rk=1\rk=2\r", "K", "3", "[Section]\rk=3\rk=2\r"},
        // the value goes in as given; a byte-order mark stays
        {"[Section]\r\nk=0\r\n", "k", " 1", "[Section]\r\nk= 1\r\n"},
        {"\xEF\xBB\xBF[Section]\r\nk=0\r\n", "k", "1", "\xEF\xBB\xBF[Section]\r\nk=1\r\n"},
        // lines the write does not change keep their bytes, whatever they hold;
        // a key holding bytes that are no text is replaced like any other
        {"[Section]\r\nPath=C:\\\x93\xae\x89\xe6\r\n", "k", "1", "[Section]\r\nPath=C:\\\x93\xae\x89\xe6\r\nk=1\r\n"},
        {"[o]\r\nx=\x93\xae\x89\r\ny=é\xff\n[Section]\r\nk=0\r\n", "k", "1",
         "[o]\r\nx=\x93\xae\x89\r\ny=é\xff\n[Section]\r\nk=1\r\n"},
        {"[Section]\r\nPath=/a/\x93\xae\x89\r\n", "path", "/v", "[Section]\r\nPath=/v\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before);
        Put(c.before);
        EXPECT_TRUE(WriteProfileString(Path(), " Section ", c.key, c.value));
        EXPECT_EQ(Bytes(), QByteArray(c.after));
    }
}

TEST_F(IniWrite, LeavesTheFileUntouchedWhenTheValueIsAlreadyStored)
{
    const char shiftJis[] = "[Section]\r\nPath=C:\\\x93\xae\x89\xe6\r\nk= 1\n";
    Put(shiftJis);
    FileSizeLimit fullDisk; // so only a write that is skipped can succeed
    EXPECT_TRUE(WriteProfileString(Path(), "section", "K", " 1"));
    EXPECT_EQ(Read("Section", "k"), "1");
    EXPECT_TRUE(WriteProfileString(Path(), "Section", "Path", "C:\\動画"));
    EXPECT_EQ(Bytes(), QByteArray(shiftJis));
}

TEST_F(IniWrite, AFailedOrRefusedWriteChangesNothing)
{
    const char before[] = "[Section]\r\nk=0\r\n";
    {
        FileSizeLimit fullDisk;
        EXPECT_FALSE(WriteProfileString(Path(), "Section", "k", "1"));
        EXPECT_FALSE(QFile::exists(Path()));
    }
    Put(before);
    {
        FileSizeLimit fullDisk;
        EXPECT_FALSE(WriteProfileString(Path(), "Section", "k", "1"));
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"Reelbox.ini"}) << "no temporary left";
    EXPECT_FALSE(WriteProfileString(Path(), "Section", "k", "a\nb")) << "would split the line";
    EXPECT_EQ(Bytes(), QByteArray(before));
    const QString folder = dir_.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(WriteProfileString(folder, "Section", "k", "1")) << "unreadable file";
    // A FIFO in the file's place is neither waited on nor replaced.
    const QString fifo = dir_.filePath("fifo.ini");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ReadProfileString(fifo, "Section", "k"), QString());
    EXPECT_FALSE(WriteProfileString(fifo, "Section", "k", "1"));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

} // namespace
