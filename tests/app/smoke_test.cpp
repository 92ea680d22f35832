// The real executable, copied into a fresh folder that becomes its program
// folder, starts into its window on the X server the tests run under.

#include "fakes/program_folder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool WindowIsMapped(const QString &title)
{
    QProcess tree;
    tree.start("xwininfo", {"-root", "-tree"});
    tree.waitForFinished(5000);
    return tree.readAllStandardOutput().contains(("\"" + title + "\"").toUtf8());
}

TEST(Executable, StartsIntoItsWindowFromAnyFolder)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramFolder folder;
    const QString program = folder.FilePath("reelbox");
    ASSERT_TRUE(QFile::copy(REELBOX_EXECUTABLE, program));

    QProcess reelbox;
    reelbox.setWorkingDirectory(QDir::rootPath());
    reelbox.start(program, {});
    ASSERT_TRUE(reelbox.waitForStarted());
    EXPECT_TRUE(QTest::qWaitFor([] { return WindowIsMapped("Reelbox"); }, 15000));
    EXPECT_EQ(reelbox.state(), QProcess::Running);
    reelbox.terminate();
    reelbox.waitForFinished(5000);
    EXPECT_FALSE(folder.Exists("Reelbox.ini")); // only leaving through 終了 saves
}

} // namespace
