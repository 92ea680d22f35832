// What the program opens when it is handed files, folders and URLs: which
// arguments are taken, how they play, and what happens to a list that plays
// when more arrive.

#include "app/open_arguments.h"

#include "app/main_window_fixture.h"
#include "widgets/dir_list_box.h"

#include <QFileInfo>
#include <QSysInfo>
#include <QTest>

namespace {

TEST(OpenArguments, LocalPathsAndFileUrlsAreTakenAndTheRestRefused)
{
    ProgramFolder folder;
    const QString dir = folder.Path();
    for (const char *name : {"a.avi", "ü b.rm", "a:b.avi", "sub/c.avi", "sub/deep/d.avi"})
        folder.Write(QString::fromUtf8(name), "x");
    const QString sub = dir + "/sub";
    ASSERT_TRUE(QFile::link(sub + "/deep", dir + "/link"));
    const QString host = QSysInfo::machineHostName();
    const struct
    {
        QString argument;
        QString file, folder; // what it opens; neither: refused
    } rows[] = {
        {"a.avi", dir + "/a.avi", {}},           // relative to the working folder
        {sub + "/../a.avi", dir + "/a.avi", {}}, // absolute, cleaned
        {"sub", {}, sub},
        {"a:b.avi", dir + "/a:b.avi", {}}, // looks like a URL, is a file
        {"file://" + dir + "/%C3%BC%20b.rm", QString::fromUtf8("%1/ü b.rm").arg(dir), {}},
        {"file://localhost" + dir + "/a.avi", dir + "/a.avi", {}},
        {"file://" + host + dir + "/a.avi", dir + "/a.avi", {}},
        {"file://elsewhere.example" + dir + "/a.avi", {}, {}},
        {"file://" + dir + "/sub%2Fc.avi", {}, {}}, // an escaped slash is no separator
        {"http://example.com/a.avi", {}, {}},
        {"missing.avi", {}, {}},
        // Resolved as the kernel opens them, not cleaned as text.
        {"link/../c.avi", sub + "/c.avi", {}}, // the parent of where the link leads
        {"nosuch/../a.avi", {}, {}},           // no folder to go up from
        {"link/..", {}, sub},
        {"", {}, {}},
    };
    for (const auto &row : rows) {
        const OpenTargets got = SortArguments({row.argument}, dir);
        EXPECT_EQ(got.files, row.file.isEmpty() ? QStringList() : QStringList{row.file}) << row.argument.toStdString();
        EXPECT_EQ(got.folders, row.folder.isEmpty() ? QStringList() : QStringList{row.folder})
            << row.argument.toStdString();
        EXPECT_EQ(got.refused.size(), row.file.isEmpty() && row.folder.isEmpty() ? 1 : 0) << row.argument.toStdString();
    }
}

class HandedArguments : public MainWindow
{
protected:
    QStringList Played() const
    {
        QStringList names;
        for (const PlayerShow &show : players_->shows)
            names.append(QFileInfo(show.PlayFile).fileName());
        return names;
    }
};

TEST_F(HandedArguments, FilesPlayInTheirOrderThroughTheirWindowsAndAFolderOpens)
{
    for (const char *name : {"b.rm", "a.avi", "sub/c.avi"})
        folder_.Write(name, "x");
    auto w = Start();
    QStringList messages;
    w->ShowMessage = [&](const QString &text, int, const QString &) { return messages.append(text), 1; };
    w->OpenArguments({"b.rm", "http://example.com/x.avi", "sub", "a.avi", "gone.avi"}, folder_.Path());
    EXPECT_TRUE(players_->shows.isEmpty()) << "played before the event loop ran";
    ASSERT_TRUE(QTest::qWaitFor([&] { return players_->shows.size() == 2; }));

    EXPECT_EQ(Played(), (QStringList{"b.rm", "a.avi"}));
    EXPECT_EQ(players_->shows[0].window, PlayerWindow::RealAudio);
    EXPECT_EQ(players_->shows[1].window, PlayerWindow::DirectShow);
    for (const PlayerShow &show : players_->shows) {
        EXPECT_EQ(show.InPlayLoop, -1);
        EXPECT_EQ(show.PlaySource, 0);
    }
    EXPECT_EQ(w->Dir1->Path(), folder_.Path() + "/sub");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("http://example.com/x.avi") && messages[0].contains("gone.avi"))
        << messages[0].toStdString();
}

TEST_F(HandedArguments, FilesArrivingWhileAListPlaysEndItAndPlayNext)
{
    for (const char *name : {"clip0.avi", "clip1.avi", "clip2.avi", "new.avi"})
        folder_.Write(name, "x");
    auto w = Start();
    players_->onShow = [&](qsizetype n, Reelbox_B &) {
        if (n == 1)
            w->OpenArguments({"new.avi"}, folder_.Path());
        return true;
    };
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    EXPECT_EQ(players_->stops, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return players_->shows.size() == 2; }));
    QTest::qWait(50);
    EXPECT_EQ(Played(), (QStringList{"clip0.avi", "new.avi"}));
}

// Requests in the order they came, each after the one before: one that comes
// while a player shows ends that request's list, and those already waiting
// are not cut short by it.
TEST_F(HandedArguments, EachRequestPlaysInItsTurnAndOneComingWhileAPlayerShowsEndsIt)
{
    for (const char *name : {"clip0.avi", "clip1.avi", "x1.avi", "x2.avi", "y.avi", "z.avi"})
        folder_.Write(name, "x");
    auto w = Start();
    players_->onShow = [&](qsizetype n, Reelbox_B &) {
        if (n == 1) { // two requests at once, while the file list plays
            w->OpenArguments({"x1.avi", "x2.avi"}, folder_.Path());
            w->OpenArguments({"y.avi"}, folder_.Path());
        } else if (n == 2) {
            w->OpenArguments({"z.avi"}, folder_.Path());
        }
        return true;
    };
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return players_->shows.size() == 4; }));
    QTest::qWait(50);
    EXPECT_EQ(Played(), (QStringList{"clip0.avi", "x1.avi", "y.avi", "z.avi"}));
    EXPECT_EQ(players_->stops, 3);
}

// A request that comes while the list's file is still opening lets that file
// play, then the list gives way.
TEST_F(HandedArguments, ARequestComingWhileAFileOpensLetsItPlayThenEndsTheList)
{
    for (const char *name : {"clip0.avi", "clip1.avi", "new.avi"})
        folder_.Write(name, "x");
    auto w = Start();
    players_->opening = true;
    players_->onShow = [&](qsizetype n, Reelbox_B &) {
        if (n == 1)
            w->OpenArguments({"new.avi"}, folder_.Path());
        return true;
    };
    w->Comd_Click(Reelbox_S::PlayFilesButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return players_->shows.size() == 2; }));
    QTest::qWait(50);
    EXPECT_EQ(Played(), (QStringList{"clip0.avi", "new.avi"}));
    EXPECT_EQ(players_->stops, 0);
}

// A request that comes while the message about an earlier one is open waits
// until all of the earlier one has played.
TEST_F(HandedArguments, ARequestComingWhileAMessageIsOpenWaitsForTheWholeOfTheOneBefore)
{
    for (const char *name : {"a.avi", "b.avi", "c.avi"})
        folder_.Write(name, "x");
    auto w = Start();
    w->ShowMessage = [&](const QString &, int, const QString &) {
        w->OpenArguments({"c.avi"}, folder_.Path());
        return 1;
    };
    w->OpenArguments({"gone.avi", "a.avi", "b.avi"}, folder_.Path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return players_->shows.size() == 3; }));
    EXPECT_EQ(Played(), (QStringList{"a.avi", "b.avi", "c.avi"}));
    EXPECT_EQ(players_->stops, 0);
}

} // namespace
