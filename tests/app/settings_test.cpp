// Loading and saving the user's settings through the real settings file: what
// is read and written, and that a save replaces each file once, whole.

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "base/ini_profile.h"
#include "fakes/file_size_limit.h"
#include "fakes/list_records.h"
#include "fakes/program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// The names of the files renamed into a folder while it is watched, in order:
// each one is a replacement of that file as a reader sees it.
class RenameWatch
{
public:
    explicit RenameWatch(const QString &folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_MOVED_TO);
    }
    ~RenameWatch() { close(fd_); }

    QStringList Renamed() const
    {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char *at = buffer; at < buffer + length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                names.append(QFile::decodeName(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};

QByteArray Ini(const QByteArray &body)
{
    return "[Section]\r\n" + body;
}

TEST(LoadSettings, NoFileGivesProgramFolderAndEverythingOff)
{
    ProgramFolder folder;
    Reelbox_B b(folder.Path());
    b.Rep1 = 7; // a missing key must reset, not keep
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, folder.Path());
    for (qint16 value : {b.Rdm1, b.Rdm2, b.GroupNo, b.Full1, b.Full2, b.Rep1, b.Rep2, b.Kakunin})
        EXPECT_EQ(value, 0);
}

TEST(LoadSettings, EachStoredValueHasOneReadingPerKindOfSwitch)
{
    // A stored value as a switch (and an order pair), as the confirmation before
    // deleting and as the group number read it: a number's whole part, rounded
    // down; the confirmation off only for nothing or zero.
    const struct
    {
        QByteArray stored;
        qint16 onOff, confirm, group;
    } cases[] = {
        {"1", 1, 1, 1},      {" 1", 1, 1, 1},    {"\" 1\"", 1, 1, 1}, {"1.9", 1, 1, 1},      {"0", 0, 0, 0},
        {" 0", 0, 0, 0},     {"0.5", 0, 1, 0},   {"-0.5", 1, 1, 0},   {"-1", 1, 1, 0},       {"2", 1, 1, 2},
        {"19.99", 1, 1, 19}, {"32767", 1, 1, 0}, {"40000", 0, 1, 0},  {"-32769", 0, 1, 0},   {"abc", 0, 1, 0},
        {"1abc", 0, 1, 0},   {"", 0, 0, 0},      {"  ", 0, 0, 0},     {"\xff\xfe", 0, 1, 0}, // bytes that are no text
    };
    for (const auto &c : cases) {
        ProgramFolder folder;
        QByteArray ini;
        for (const char *key : {"rdm1", "rdm2", "Full1", "Full2", "Rep1", "Rep2", "Kakunin", "Group"})
            ini += QByteArray(key) + "=" + c.stored + "\r\n";
        folder.Write("Reelbox.ini", Ini(ini));
        Reelbox_B b(folder.Path());
        b.LoadSettings();
        SCOPED_TRACE(c.stored.constData());
        for (qint16 value : {b.Rdm1, b.Rdm2, b.Full1, b.Full2, b.Rep1, b.Rep2})
            EXPECT_EQ(value, c.onOff);
        EXPECT_EQ(b.Kakunin, c.confirm);
        EXPECT_EQ(b.GroupNo, c.group);
    }
}

TEST(LoadSettings, AllKeysAndAnExistingFolder)
{
    ProgramFolder folder;
    const QString movies = folder.MakeFolder("movies");
    folder.Write("Reelbox.ini", Ini("Path=" + movies.toUtf8()
                                    + "\r\nrdm1= 1\r\nrdm2= 0\r\nGroup= 5\r\n"
                                      "Full1= 1\r\nFull2= 0\r\nRep1= 1\r\nRep2= 1\r\nKakunin= 1\r\n"));
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, movies);
    EXPECT_EQ(b.Rdm1, 1);
    EXPECT_EQ(b.GroupNo, 5);
    EXPECT_EQ(b.Full1, 1);
    EXPECT_EQ(b.Full2, 0);
    EXPECT_EQ(b.Rep1 + b.Rep2 + b.Kakunin, 3);
}

TEST(LoadSettings, AFolderPathLongerThan255BytesIsReadWhole)
{
    ProgramFolder folder;
    const QString deep = folder.MakeFolder(QString(60, u'映') + "/" + QString(60, u'画'));
    ASSERT_GT(deep.toUtf8().size(), 255);
    folder.Write("Reelbox.ini", Ini("Path=" + deep.toUtf8() + "\r\n"));
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, deep);
}

TEST(LoadSettings, DeletedFolderFallsBackToProgramFolder)
{
    ProgramFolder folder;
    folder.Write("Reelbox.ini", Ini("Path=" + folder.FilePath("gone").toUtf8() + "\r\n"));
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, folder.Path());
}

TEST(LoadSettings, GroupOutsideTheTwentyGroupsBecomesGroupZero)
{
    for (const QByteArray stored : {"20", "-1", "300"}) {
        ProgramFolder folder;
        folder.Write("Reelbox.ini", Ini("Group=" + stored + "\r\n"));
        Reelbox_B b(folder.Path());
        b.LoadSettings();
        EXPECT_EQ(b.GroupNo, 0) << stored.constData();
    }
}

TEST(LoadSettings, ShiftJisSettingsFromJapaneseWindowsStillLoad)
{
    ProgramFolder folder;
    const QString movies = folder.MakeFolder(QStringLiteral("動画"));
    QByteArray path = folder.Path().toUtf8() + "/" + QByteArray("\x93\xae\x89\xe6"); // 動画 in Shift_JIS
    folder.Write("Reelbox.ini", Ini("Path=" + path + "\r\n"));
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, movies);
}

TEST(SaveSettings, WritesKeysInOrderWithTheBlankBeforeNumbers)
{
    ProgramFolder folder;
    Reelbox_B b(folder.Path());
    b.Rdm1 = 1;
    b.GroupNo = 3;
    b.Kakunin = 1;
    EXPECT_TRUE(b.SaveSettings("/videos", {}).isEmpty());
    EXPECT_EQ(folder.Read("Reelbox.ini"), "[Section]\r\nPath=/videos\r\nrdm1= 1\r\nrdm2= 0\r\nGroup= 3\r\n"
                                          "Full1= 0\r\nFull2= 0\r\nRep1= 0\r\nRep2= 0\r\nKakunin= 1\r\n");
    EXPECT_EQ(IniNumber(-1), "-1");
}

TEST(SaveSettings, ReplacesTheSettingsFileOnceKeepingItsOtherLines)
{
    ProgramFolder folder;
    folder.Write("Reelbox.ini", "; Reelbox settings\r\n[Section]\r\nPATH=/old\r\nrFormTop= 120\r\nRDM1= 0\r\n"
                                "\r\n[Other]\r\nPath=/elsewhere\r\n");
    Reelbox_B b(folder.Path());
    b.Rdm1 = 1;
    b.Rep2 = 1;
    RenameWatch watch(folder.Path());
    EXPECT_TRUE(b.SaveSettings("/videos", {"/videos/a.avi"}).isEmpty());
    EXPECT_EQ(watch.Renamed(), (QStringList{"Reelbox.ini", "Reelbox00.rdm"}));
    EXPECT_EQ(folder.Read("Reelbox.ini"),
              "; Reelbox settings\r\n[Section]\r\nPATH=/videos\r\nrFormTop= 120\r\nRDM1= 1\r\nrdm2= 0\r\n"
              "Group= 0\r\nFull1= 0\r\nFull2= 0\r\nRep1= 0\r\nRep2= 1\r\nKakunin= 0\r\n"
              "\r\n[Other]\r\nPath=/elsewhere\r\n");
}

TEST(SaveSettings, FolderNamesThatALineCannotHoldAsTheyAre)
{
    ProgramFolder folder;
    folder.Write("Reelbox.ini", Ini("Path=/old\r\nRep1= 0\r\n"));
    Reelbox_B b(folder.Path());
    b.Rep1 = 1;
    // A line break: the folder saved before stays, and the rest is saved.
    EXPECT_TRUE(b.SaveSettings("/videos/a\nb", {}).isEmpty());
    EXPECT_EQ(folder.Read("Reelbox.ini"), Ini("Path=/old\r\nRep1= 1\r\nrdm1= 0\r\nrdm2= 0\r\nGroup= 0\r\n"
                                              "Full1= 0\r\nFull2= 0\r\nRep2= 0\r\nKakunin= 0\r\n"));
    // A blank at the end is kept inside quotes.
    EXPECT_TRUE(b.SaveSettings("/videos/clips ", {}).isEmpty());
    EXPECT_TRUE(folder.Read("Reelbox.ini").startsWith(Ini("Path=\"/videos/clips \"\r\n")));
    EXPECT_EQ(ReadProfileString(folder.FilePath("Reelbox.ini"), "Section", "Path", ValueLength::Whole),
              "/videos/clips ");
}

TEST(SaveSettings, ADiskThatFillsUpMidWayKeepsWhatItCouldNotTakeWhole)
{
    // The files the program may write are capped as a full disk would cap them.
    const struct
    {
        const char *disk;
        rlim_t room;
        bool settingsSaved, listSaved;
    } cases[] = {
        {"full", 64, false, false},
        {"room for the settings, not for a long list", 4096, true, false},
        {"room enough", RLIM_INFINITY, true, true},
    };
    const QByteArray oldIni = Ini("Path=/old\r\nrdm1= 0\r\n");
    const QByteArray oldList = EncodeListRecord("/old/a.avi") + EncodeListRecord("/old/b.avi");
    QStringList favorites;
    for (int i = 0; i < 5000; ++i)
        favorites.append(QStringLiteral("/new/clip%1.avi").arg(i));
    for (const auto &c : cases) {
        ProgramFolder folder;
        folder.Write("Reelbox.ini", oldIni);
        folder.Write("Reelbox00.rdm", oldList);
        Reelbox_B b(folder.Path());
        b.Rdm1 = 1;
        QStringList unsaved;
        {
            FileSizeLimit limit(c.room);
            unsaved = b.SaveSettings("/new", Records(favorites));
        }
        QStringList expected;
        if (!c.settingsSaved)
            expected.append(folder.FilePath("Reelbox.ini"));
        if (!c.listSaved)
            expected.append(folder.FilePath("Reelbox00.rdm"));
        EXPECT_EQ(unsaved, expected) << c.disk;
        const QByteArray ini = folder.Read("Reelbox.ini");
        EXPECT_EQ(ini == oldIni, !c.settingsSaved) << c.disk;
        EXPECT_EQ(ini.contains("Kakunin= 0"), c.settingsSaved) << c.disk;
        const QByteArray list = folder.Read("Reelbox00.rdm");
        EXPECT_EQ(list.size(), c.listSaved ? 5000 * ListRecordLength : oldList.size()) << c.disk;
        EXPECT_EQ(list == oldList, !c.listSaved) << c.disk;
        EXPECT_EQ(QDir(folder.Path()).entryList({"*.tmp"}), QStringList()) << c.disk;
    }
}

TEST(SaveSettings, RoundTripThroughLoad)
{
    ProgramFolder folder;
    const QString movies = folder.MakeFolder("movies");
    const QString clip = folder.Write("movies/a.avi", "x");
    {
        Reelbox_B b(folder.Path());
        b.Rdm2 = 1;
        b.GroupNo = 4;
        b.Full2 = 1;
        b.Rep2 = 1;
        b.SaveSettings(movies, Records({clip}));
    }
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, movies);
    EXPECT_EQ(b.Rdm2, 1);
    EXPECT_EQ(b.GroupNo, 4);
    EXPECT_EQ(b.Full2 + b.Rep2, 2);
    EXPECT_EQ(Paths(b.LoadGroup(4)), QStringList{clip});
}

TEST(SaveSettings, EmptyFavouritesLeaveNoGroupFile)
{
    ProgramFolder folder;
    folder.Write("Reelbox00.rdm", QByteArray(255, ' '));
    Reelbox_B b(folder.Path());
    EXPECT_TRUE(b.SaveSettings(folder.Path(), {}).isEmpty());
    EXPECT_FALSE(folder.Exists("Reelbox00.rdm"));
}

} // namespace
