// Loading and saving the user's settings through the real settings file.

#include "app/list_file.h"
#include "app/reelbox_b.h"
#include "fakes/program_folder.h"

#include <gtest/gtest.h>

namespace {

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

TEST(LoadSettings, NumbersAreReadAsTheirWholePartRoundedDown)
{
    const struct { QByteArray stored; qint16 expected; } cases[] = {
        {"1", 1}, {" 1", 1}, {"\" 1\"", 1}, {"1.9", 1}, {"-0.5", -1}, {"-1", -1},
        {"abc", 0}, {"40000", 0}, {"-32769", 0}, {"32767", 32767}, {"", 0},
    };
    for (const auto &c : cases) {
        ProgramFolder folder;
        folder.Write("Reelbox.ini", Ini("rdm1=" + c.stored + "\r\n"));
        Reelbox_B b(folder.Path());
        b.LoadSettings();
        EXPECT_EQ(b.Rdm1, c.expected) << c.stored.constData();
    }
}

TEST(LoadSettings, AllKeysAndAnExistingFolder)
{
    ProgramFolder folder;
    const QString movies = folder.MakeFolder("movies");
    folder.Write("Reelbox.ini", Ini("Path=" + movies.toUtf8() + "\r\nrdm1= 1\r\nrdm2= 0\r\nGroup= 5\r\n"
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
    EXPECT_TRUE(b.SaveSettings("/videos", {}));
    EXPECT_EQ(folder.Read("Reelbox.ini"),
              "[Section]\r\nPath=/videos\r\nrdm1= 1\r\nrdm2= 0\r\nGroup= 3\r\n"
              "Full1= 0\r\nFull2= 0\r\nRep1= 0\r\nRep2= 0\r\nKakunin= 1\r\n");
    EXPECT_EQ(IniNumber(-1), "-1");
}

TEST(SaveSettings, AFailingGroupFileDoesNotStopTheKeysAfterIt)
{
    ProgramFolder folder;
    folder.MakeFolder("Reelbox02.rdm.tmp");
    Reelbox_B b(folder.Path());
    b.GroupNo = 2;
    b.Full1 = 1;
    EXPECT_FALSE(b.SaveSettings("/videos", {"/videos/a.avi"}));
    const QByteArray ini = folder.Read("Reelbox.ini");
    EXPECT_TRUE(ini.contains("Group= 2")) << ini.constData();
    EXPECT_TRUE(ini.contains("Full1= 1")) << ini.constData();
    EXPECT_FALSE(folder.Exists("Reelbox02.rdm"));
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
        b.SaveSettings(movies, {clip});
    }
    Reelbox_B b(folder.Path());
    b.LoadSettings();
    EXPECT_EQ(b.LastPath, movies);
    EXPECT_EQ(b.Rdm2, 1);
    EXPECT_EQ(b.GroupNo, 4);
    EXPECT_EQ(b.Full2 + b.Rep2, 2);
    EXPECT_EQ(b.LoadGroup(4), QStringList{clip});
}

TEST(SaveSettings, EmptyFavouritesLeaveNoGroupFile)
{
    ProgramFolder folder;
    folder.Write("Reelbox00.rdm", QByteArray(255, ' '));
    Reelbox_B b(folder.Path());
    EXPECT_TRUE(b.SaveSettings(folder.Path(), {}));
    EXPECT_FALSE(folder.Exists("Reelbox00.rdm"));
}

TEST(SaveSettings, AFailedSaveKeepsTheOldFilesWhole)
{
    ProgramFolder folder;
    const QByteArray oldIni = Ini("Path=/old\r\nrdm1= 1\r\n");
    const QByteArray oldGroup = EncodeListRecord("/old/a.avi") + EncodeListRecord("/old/b.avi");
    folder.Write("Reelbox.ini", oldIni);
    folder.Write("Reelbox00.rdm", oldGroup);
    // Folders where the new files must first be written make every write fail.
    folder.MakeFolder("Reelbox.ini.tmp/x");
    folder.MakeFolder("Reelbox00.rdm.tmp/x");
    Reelbox_B b(folder.Path());
    EXPECT_FALSE(b.SaveSettings("/new", {"/new/c.avi"}));
    EXPECT_EQ(folder.Read("Reelbox.ini"), oldIni);
    EXPECT_EQ(folder.Read("Reelbox00.rdm"), oldGroup);
}

} // namespace
