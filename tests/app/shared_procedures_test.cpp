// Path joining, the existence tests, the trash and switching all buttons.

#include "app/shared_procedures.h"

#include "controls/command.h"
#include "controls/property_bag.h"
#include "fakes/program_folder.h"
#include "widgets/window_animation.h"

#include <QApplication>
#include <QStandardPaths>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(Paths, AddBackslashAddsOneSeparatorAndKeepsBlanksOfTheName)
{
    EXPECT_EQ(AddBackslash("/movies   "), "/movies   /");
    EXPECT_EQ(AddBackslash("/movies/"), "/movies/");
    EXPECT_EQ(AddBackslash("/"), "/");
    EXPECT_EQ(AddBackslash(""), "/");
}

TEST(Paths, JoinNeverDoublesTheSeparatorAtARoot)
{
    EXPECT_EQ(JoinPath("/", "a.avi"), "/a.avi");
    EXPECT_EQ(JoinPath("/media/usb/", "a.avi"), "/media/usb/a.avi");
    EXPECT_EQ(JoinPath("/movies", "a.avi"), "/movies/a.avi");
}

TEST(Existence, FoldersAndFilesAreTellApart)
{
    ProgramFolder folder;
    folder.MakeFolder("Movies");
    folder.MakeFolder("clips ");
    const QString film = folder.Write("film.avi", "x");
    EXPECT_TRUE(DirectoryExists(folder.FilePath("Movies")));
    EXPECT_FALSE(DirectoryExists(folder.FilePath("Movies") + "   ")); // names as Linux holds them
    EXPECT_TRUE(DirectoryExists(folder.FilePath("clips ")));
    EXPECT_FALSE(DirectoryExists(folder.FilePath("clips")));
    EXPECT_FALSE(DirectoryExists(folder.FilePath("Mov"))); // only the start of a name
    EXPECT_FALSE(DirectoryExists(film));

    EXPECT_TRUE(FileExists(film));
    EXPECT_TRUE(FileExists(film + "/")); // one trailing separator is ignored
    EXPECT_FALSE(FileExists(folder.FilePath("Movies")));
    EXPECT_FALSE(FileExists(folder.FilePath("missing.avi")));
    EXPECT_FALSE(FileExists(""));
}

class Trash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A trash of our own, so the test never touches the user's.
        qputenv("XDG_DATA_HOME", home_.Path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    ProgramFolder home_;
    ProgramFolder files_;
};

TEST_F(Trash, ConfirmedFilesGoToTheTrashAndCanBeRestored)
{
    const QString a = files_.Write("a.avi", "aaa");
    const QString b = files_.Write("b.avi", "bbb");
    QStringList asked;
    EXPECT_EQ(DeleteToRecycleBin({a, b},
                                 [&](const QStringList &paths) {
                                     asked = paths;
                                     return true;
                                 }),
              0);
    EXPECT_EQ(asked, (QStringList{a, b}));
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
    QDir trash(home_.FilePath("Trash/files"));
    EXPECT_EQ(trash.entryList(QDir::Files).size(), 2);
}

TEST_F(Trash, RefusalMovesNothingAndAMissingFileIsReported)
{
    const QString a = files_.Write("a.avi", "aaa");
    EXPECT_EQ(DeleteToRecycleBin({a}, [](const QStringList &) { return false; }), TrashCancelled);
    EXPECT_TRUE(QFileInfo::exists(a));
    EXPECT_EQ(DeleteToRecycleBin({files_.FilePath("none.avi")}, [](const QStringList &) { return true; }), TrashFailed);
}

TEST_F(Trash, AMissingDataFolderIsMadeForTheTrash)
{
    qputenv("XDG_DATA_HOME", home_.FilePath("new/share").toUtf8()); // a new account's
    const QString a = files_.Write("a.avi", "aaa");
    EXPECT_EQ(DeleteToRecycleBin({a}, [](const QStringList &) { return true; }), 0);
    EXPECT_EQ(home_.Read("new/share/Trash/files/a.avi"), "aaa");
}

// Where no trash folder can be made, the file stays where it was and is
// reported as not trashed.
TEST_F(Trash, AFileNoTrashCanTakeStaysWhereItWas)
{
    QFile(home_.FilePath("Trash")).open(QIODevice::WriteOnly); // a file where the folder would be
    const QString a = files_.Write("a.avi", "aaa");
    EXPECT_EQ(DeleteToRecycleBin({a}, [](const QStringList &) { return true; }), TrashFailed);
    EXPECT_EQ(files_.Read("a.avi"), "aaa");
}

TEST(SetCommandButtons, InitialiseLeavesEnabledAloneAndOnlyMinusOneCounts)
{
    QWidget window;
    auto *first = new Command(&window);
    auto *second = new Command(&window);
    first->ReadProperties(PropertyBag()); // loaded as a window loads them
    second->ReadProperties(PropertyBag());
    second->SetEnabledProperty(false);
    SetCommandButtons(&window, -1, 0);
    EXPECT_TRUE(first->EnabledProperty());
    EXPECT_FALSE(second->EnabledProperty());
    EXPECT_EQ(first->ButtonState(), 1);

    SetCommandButtons(&window, 0, -1);
    EXPECT_TRUE(second->EnabledProperty());
    SetCommandButtons(&window, 1, 1); // neither flag is -1: disable
    EXPECT_FALSE(first->EnabledProperty());
    EXPECT_FALSE(second->EnabledProperty());
}

TEST(AnimateFrame, ReturnsAndLeavesNoWindowBehind)
{
    const int before = QApplication::topLevelWidgets().size();
    EXPECT_EQ(InterpolateFrame(QRect(0, 0, 0, 0), QRect(100, 50, 200, 100), 0.5), QRect(50, 25, 100, 50));
    AnimateFrame(QRect(10, 10, 0, 0), QRect(0, 0, 200, 100));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

} // namespace
