// The main window's file browser: drive errors, the filter, the buttons the
// file list enables, double-clicks and the press that starts a drag.

#include "app/main_window_fixture.h"
#include "controls/command.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Records what the window hands to the desktop instead of opening it.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    DesktopRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~DesktopRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList opened;
public slots:
    void Open(const QUrl &url) { opened.append(url.toLocalFile()); }
};

void PressOn(FileListBox *list, int row)
{
    const QRect place = list->visualRect(list->model()->index(row, 0));
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, place.center());
}

// Counts how often a folder is opened to be read, through inotify.
class FolderReadings
{
public:
    explicit FolderReadings(const QString &folder)
        : fd_(inotify_init1(IN_NONBLOCK))
    {
        // Closes are watched too: identical events in a row would be merged.
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_CLOSE_NOWRITE);
    }
    ~FolderReadings() { close(fd_); }
    int Count()
    {
        int readings = 0;
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
            for (char *at = buffer; at < buffer + length;) {
                const auto *event = reinterpret_cast<inotify_event *>(at);
                readings += (event->mask & IN_OPEN) && (event->mask & IN_ISDIR) && event->len == 0; // the folder itself
                at += sizeof(inotify_event) + event->len;
            }
        }
        return readings;
    }

private:
    int fd_;
};

TEST_F(MainWindow, AFolderIsReadOncePerChangeForTheTreeAndTheFileList)
{
    const QString clips = folder_.MakeFolder("clips");
    folder_.Write("clips/a.avi", "x");
    folder_.MakeFolder("clips/sub");
    folder_.Write("clips/sub/b.avi", "x");
    WriteIni("Path=" + clips.toUtf8() + "\r\n");
    FolderReadings clipsRead(clips), subRead(clips + "/sub");
    auto w = Start();
    EXPECT_EQ(w->File1->ListCount(), 1);
    EXPECT_EQ(w->Dir1->count() > 0, true);
    EXPECT_EQ(clipsRead.Count(), 1) << "at start-up";
    w->Dir1->SetPath(clips + "/sub");
    EXPECT_EQ(w->File1->List(0), "b.avi");
    EXPECT_EQ(subRead.Count(), 1) << "at a folder change";
}

TEST_F(MainWindow, FilterChoiceRelistsTheFolderAndChecksItsButtons)
{
    folder_.Write("a.avi", "x");
    folder_.Write("b.wmv", "x");
    auto w = Start();
    EXPECT_EQ(w->File1->ListCount(), 2);
    const auto enabled = [&](int index) { return w->Comd[index]->EnabledProperty(); };
    // The filter, the files it lists, and whether 連続再生 and 全てFavorite can be used.
    const struct
    {
        int kind;
        const char *pattern;
        int count;
        bool playAll, allToFavorites;
    } rows[] = {
        {4, "*.wmv", 1, false, true},
        {7, "*.dat", 0, false, false},
        {0, nullptr, 2, true, true},
    };
    for (const auto &row : rows) {
        w->FileStartIndex = 1;
        w->Combo_Kind->setCurrentIndex(row.kind);
        w->Combo_Kind_Click();
        if (row.pattern) {
            EXPECT_EQ(w->File1->Pattern(), row.pattern);
        }
        EXPECT_EQ(w->File1->ListCount(), row.count) << row.kind;
        EXPECT_EQ(enabled(Reelbox_S::PlayFilesButton), row.playAll) << row.kind;
        EXPECT_EQ(enabled(Reelbox_S::AllToFavoritesButton), row.allToFavorites) << row.kind;
        EXPECT_FALSE(enabled(Reelbox_S::PlayFileButton)) << row.kind;
        EXPECT_EQ(w->FileStartIndex, 0) << row.kind;
    }
}

TEST_F(MainWindow, PressOnASelectedFileEnablesPlayAndSetsTheStart)
{
    folder_.Write("a.avi", "x");
    folder_.Write("b.avi", "x");
    auto w = Start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->File1_MouseDown(); // nothing selected: no play
    EXPECT_EQ(w->FileStartIndex, -1);
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFileButton]->EnabledProperty());

    PressOn(w->File1, 1);
    EXPECT_EQ(w->FileStartIndex, 1);
    EXPECT_TRUE(w->Comd[Reelbox_S::PlayFileButton]->EnabledProperty());

    // Ctrl+click on the selected file deselects it: nothing to play, start at the top.
    const QPoint selected = w->File1->visualRect(w->File1->model()->index(1, 0)).center();
    QTest::mouseClick(w->File1->viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
    EXPECT_EQ(w->File1->FileName(), "");
    EXPECT_EQ(w->FileStartIndex, -1);
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFileButton]->EnabledProperty());
    PressOn(w->File1, 1);

    w->Dir1->SetPath(folder_.MakeFolder("sub"));
    EXPECT_EQ(w->FileStartIndex, 0);
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFileButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::AllToFavoritesButton]->EnabledProperty());
}

TEST_F(MainWindow, DoubleClickHandsWmvToTheDesktopAndPlaysTheRest)
{
    for (const char *name : {"a.wmv", "b.WMV", "c.asf", "d.avi"})
        folder_.Write(name, "x");
    DesktopRecorder desktop;
    auto w = Start();
    w->File1_DblClick(); // no selection: nothing
    for (int row = 0; row < 4; ++row) {
        w->File1->SetListIndex(row);
        w->File1_DblClick();
    }
    EXPECT_EQ(desktop.opened, (QStringList{folder_.FilePath("a.wmv"), folder_.FilePath("b.WMV")}));
    ASSERT_EQ(players_->shows.size(), 2);
    EXPECT_EQ(players_->shows[0].PlayFile, folder_.FilePath("c.asf"));
    EXPECT_EQ(players_->shows[1].PlayFile, folder_.FilePath("d.avi"));
    EXPECT_EQ(players_->shows[1].window, PlayerWindow::RealAudio);
    EXPECT_EQ(players_->shows[1].PlaySource, 0);
}

TEST_F(MainWindow, DriveThatIsNotReadyIsReportedAndTheBrowserStays)
{
    auto w = Start();
    const QString before = w->Drive1->Drive();
    const QString folderBefore = w->Dir1->Path();
    const QString absent = folder_.FilePath("unplugged");
    QStringList messages;
    int style = 0;
    QString title;
    w->ShowMessage = [&](const QString &text, int s, const QString &t) {
        messages.append(text);
        style = s;
        title = t;
        return 1;
    };
    w->Drive1->AddVolume(absent, absent);
    w->Drive1->SetDrive(absent);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "ﾄﾞﾗｲﾌﾞ" + absent + " は、準備されていません。");
    EXPECT_EQ(style, 48);
    EXPECT_EQ(title, "Reelbox");
    EXPECT_EQ(w->Drive1->Drive(), before);
    EXPECT_EQ(w->Dir1->Path(), folderBefore);
}

TEST(DriveErrorText, OtherErrorsShowSourceHexNumberAndDescription)
{
    EXPECT_EQ(DriveErrorText({0x1A2B, "Reelbox", "Disk I/O error"}, "/media/cd"), "Reelbox: &H1A2B\rDisk I/O error");
}

} // namespace

#include "file_browser_test.moc"
