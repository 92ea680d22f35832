// The favourites list and its groups: what a drop adds, the buttons it arms,
// the delete picture, and switching groups through their list files.

#include "app/favorite_files.h"
#include "app/favorite_list.h"
#include "app/list_file.h"
#include "app/main_window_fixture.h"
#include "app/trash_undo.h"
#include "base/file_names.h"
#include "controls/command.h"
#include "fakes/file_size_limit.h"
#include "widgets/dir_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"

#include <QDir>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ExtensionOf, IsTheTextAfterTheLastDotOfTheName)
{
    const struct
    {
        const char *path, *extension;
    } rows[] = {
        {"/clips/Clips.avi", "avi"},
        {"a.Mpg", "Mpg"},
        {"C:\\My.Videos\\readme", ""},
        {"/home/me/My.Videos/readme", ""},
        {"noext", ""},
        {"a.b.rmvb", "rmvb"},
        {"trailing.", ""},
        {"", ""},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ExtensionOf(row.path), row.extension) << row.path;
}

QByteArray UriList(const QList<QByteArray> &urls)
{
    return urls.join("\r\n") + "\r\n";
}

TEST(DroppedVideoFiles, TakesLocalVideoFilesOfThisMachineAsTheirBytesFromTheFirst250)
{
    const struct
    {
        QByteArray url;
        QByteArray path; // "" when refused
    } rows[] = {
        {"file:///v/a.Mpg", "/v/a.Mpg"},
        {"file://localhost/v/Clips.avi", "/v/Clips.avi"},
        {"file://ThisBox/v/b.avi", "/v/b.avi"}, // this machine's name, any case
        {"file:/v/c.avi", "/v/c.avi"},
        {"file:///v/%E6%98%A0%20x.avi", "/v/\xE6\x98\xA0 x.avi"},
        {"file:///v/%83%72.avi", "/v/\x83\x72.avi"}, // bytes that are not UTF-8
        {"file://otherbox/v/d.avi", ""},
        {"file://user@localhost/v/d.avi", ""},
        {"file:///v/d%00.avi", ""},
        {"file:///v/d%2F..%2Fetc.avi", ""},
        {"file:///v/d%2.avi", ""},
        {"file:///v/d.avi?x=1", ""},
        {"file:v/d.avi", ""},
        {"file:////otherbox/v/d.avi", ""},
        {"sftp://host/v/d.avi", ""},
        {"file:///v/My.Videos/readme", ""},
        {"file:///v/notes.txt", ""},
    };
    for (const auto &row : rows) {
        const QStringList taken = DroppedVideoFiles(UriList({"# a comment", row.url}), "thisbox");
        const QStringList expected = row.path.isEmpty() ? QStringList() : QStringList{DecodeFileName(row.path)};
        EXPECT_EQ(taken, expected) << row.url.constData();
    }

    QList<QByteArray> many;
    for (int i = 1; i <= 300; ++i)
        many.append(QByteArray("file:///v/") + QByteArray::number(i) + ".avi");
    const QStringList taken = DroppedVideoFiles(UriList(many), "thisbox");
    ASSERT_EQ(taken.size(), 250);
    EXPECT_EQ(taken.last(), "/v/250.avi");
}

TEST(FavoriteCandidates, NeitherPathsARecordCannotHoldNorEntriesPastTheLimitAreAdded)
{
    const QString fits = "/v/" + QString(252, u'a');     // 255 bytes
    const QString japanese = "/v/" + QString(85, u'動'); // 3 + 255 bytes of UTF-8
    const FavoriteCandidates split = SplitFavoriteCandidates({fits, japanese, "/v/a.avi", "/v/b.avi"}, 2);
    EXPECT_EQ(split.fitting, (QStringList{fits, "/v/a.avi"}));
    EXPECT_EQ(split.tooLong, QStringList{japanese});
    EXPECT_EQ(split.overLimit, QStringList{"/v/b.avi"});
    EXPECT_TRUE(NotAddedMessage({{fits}, {}, {}}).isEmpty());
    const QString told = NotAddedMessage(split);
    EXPECT_TRUE(told.startsWith("2 個のファイル")) << told.toStdString();
    EXPECT_TRUE(told.contains(japanese));
    EXPECT_TRUE(told.contains("32,767")) << told.toStdString();
}

class Favorites : public MainWindow
{
protected:
    std::unique_ptr<Reelbox_S> StartWithFiles(const QStringList &names)
    {
        for (const QString &name : names)
            folder_.Write("clips/" + name, "x");
        WriteIni("Path=" + folder_.FilePath("clips").toUtf8() + "\r\n");
        auto w = Start();
        w->ShowMessage = [this](const QString &text, int, const QString &) {
            messages_.append(text);
            return 1;
        };
        return w;
    }
    // A drag from the file list of its row-th file onto the favourites list.
    void DragFileToFavorites(Reelbox_S &w, int row)
    {
        w.List_Favorite_DragDrop(JoinPath(w.File1->Path(), w.File1->List(row)));
    }
    QString FileAt(Reelbox_S &w, int row) { return JoinPath(w.File1->Path(), w.File1->List(row)); }
    bool Enabled(Reelbox_S &w, int button) { return w.Comd[button]->EnabledProperty(); }

    QStringList messages_;
};

TEST_F(Favorites, DraggedFilesAddAsOftenAsDroppedAndArmTheButtonsOnlyOnAPress)
{
    auto w = StartWithFiles({"a.avi", "b.avi"});
    DragFileToFavorites(*w, 0);
    EXPECT_FALSE(Enabled(*w, Reelbox_S::PlayFavoritesButton)) << "one entry";
    EXPECT_FALSE(Enabled(*w, Reelbox_S::ClearFavoritesButton));
    DragFileToFavorites(*w, 0);
    EXPECT_EQ(w->List_Favorite->Entries(), QStringList(2, QDir(folder_.FilePath("clips")).filePath("a.avi")));
    EXPECT_TRUE(Enabled(*w, Reelbox_S::PlayFavoritesButton));
    EXPECT_TRUE(Enabled(*w, Reelbox_S::ClearFavoritesButton));
    EXPECT_FALSE(Enabled(*w, Reelbox_S::PlayFavoriteButton)) << "not before a press on an entry";
    EXPECT_FALSE(Enabled(*w, Reelbox_S::RemoveFavoriteButton));

    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const QRect second = w->List_Favorite->visualRect(w->List_Favorite->model()->index(1, 0));
    QTest::mouseClick(w->List_Favorite->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(w->FavoriteStartIndex, 1);
    EXPECT_TRUE(Enabled(*w, Reelbox_S::PlayFavoriteButton));
    EXPECT_TRUE(Enabled(*w, Reelbox_S::RemoveFavoriteButton));
}

TEST_F(Favorites, APressBelowTheEntriesKeepsTheSelectionAndNothingSelectedDisarms)
{
    auto w = StartWithFiles({"a.avi", "b.avi"});
    DragFileToFavorites(*w, 0);
    DragFileToFavorites(*w, 1);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QWidget *view = w->List_Favorite->viewport();
    const QRect second = w->List_Favorite->visualRect(w->List_Favorite->model()->index(1, 0));
    QTest::mouseClick(view, Qt::LeftButton, {}, second.center());
    QTest::mouseClick(view, Qt::LeftButton, {}, second.center() + QPoint(0, 5 * second.height()));
    EXPECT_EQ(w->List_Favorite->ListIndex(), 1);
    EXPECT_TRUE(w->List_Favorite->selectionModel()->isRowSelected(1));
    EXPECT_TRUE(Enabled(*w, Reelbox_S::RemoveFavoriteButton));

    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, second.center()); // deselects
    EXPECT_EQ(w->List_Favorite->ListIndex(), -1);
    EXPECT_FALSE(Enabled(*w, Reelbox_S::RemoveFavoriteButton));
    EXPECT_FALSE(Enabled(*w, Reelbox_S::PlayFavoriteButton));
    w->Comd_Click(Reelbox_S::RemoveFavoriteButton);
    EXPECT_EQ(w->List_Favorite->ListCount(), 2);
}

TEST_F(Favorites, ADoubleClickPlaysTheEntryOnceInTheRealAudioWindow)
{
    auto w = StartWithFiles({"a.avi", "b.avi"});
    shared_->Rep2 = 1;
    shared_->InPlayLoop = -1;
    DragFileToFavorites(*w, 1);
    w->List_Favorite->SetListIndex(0);
    w->List_Favorite_DblClick();
    ASSERT_EQ(players_->shows.size(), 1);
    EXPECT_EQ(players_->shows[0].window, PlayerWindow::RealAudio);
    EXPECT_EQ(players_->shows[0].PlayFile, w->List_Favorite->List(0));
    EXPECT_EQ(players_->shows[0].PlaySource, 1);
    EXPECT_EQ(shared_->InPlayLoop, -1) << "left as it was";
}

TEST_F(Favorites, ATooLongPathIsRefusedWithOneMessagePerOperation)
{
    const QString deep = QString(45, u'深') + "/" + QString(45, u'層');
    auto w = StartWithFiles({"a.avi", deep + "/x.avi", deep + "/y.avi"});
    const QString longFolder = QDir(folder_.FilePath("clips")).filePath(deep);

    w->List_Favorite_OLEDragDrop(UriList({QUrl::fromLocalFile(longFolder + "/x.avi").toEncoded(),
                                          QUrl::fromLocalFile(longFolder + "/y.avi").toEncoded(),
                                          QUrl::fromLocalFile(folder_.FilePath("clips/a.avi")).toEncoded()}));
    EXPECT_EQ(w->List_Favorite->Entries(), QStringList{folder_.FilePath("clips/a.avi")});
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("2 個のファイル"));
    EXPECT_TRUE(messages_[0].contains(longFolder + "/x.avi"));

    w->Dir1->SetPath(longFolder);
    w->Comd_Click(Reelbox_S::AllToFavoritesButton);
    EXPECT_EQ(w->List_Favorite->ListCount(), 1);
    EXPECT_EQ(messages_.size(), 2);
}

class TrashedFavorites : public Favorites
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", home_.Path().toUtf8()); }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
    ProgramFolder home_;
};

TEST_F(TrashedFavorites, WithoutConfirmationTheFileStillGoesToTheTrashItsNeighbourIsSelectedAndCtrlZTakesItBack)
{
    QStringList names;
    for (int i = 0; i < 30; ++i)
        names.append(QStringLiteral("clip%1.avi").arg(i, 2, 10, QLatin1Char('0')));
    auto w = StartWithFiles(names);
    bool asked = false;
    w->ConfirmTrash = [&](const QStringList &) { return asked = true; };
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->File1->SetListIndex(12);
    w->File1->SetFirstVisibleRow(10);
    ASSERT_EQ(w->File1->FirstVisibleRow(), 10);
    w->Img_Del_DragDrop(FileAt(*w, 12));
    EXPECT_FALSE(asked);
    EXPECT_FALSE(folder_.Exists("clips/clip12.avi"));
    EXPECT_EQ(home_.Read("Trash/files/clip12.avi"), "x");
    EXPECT_EQ(w->File1->ListCount(), 29);
    EXPECT_EQ(w->File1->FirstVisibleRow(), 10);
    EXPECT_EQ(w->File1->FileName(), "clip13.avi");

    folder_.Write("clips/clip12.avi", "new"); // something took its name
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(folder_.Read("clips/clip12.avi"), "new");
    QFile::remove(folder_.FilePath("clips/clip12.avi"));
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(folder_.Read("clips/clip12.avi"), "x");
    EXPECT_FALSE(QFileInfo::exists(home_.FilePath("Trash/info/clip12.avi.trashinfo")));
    EXPECT_EQ(w->File1->ListCount(), 30);
    EXPECT_EQ(w->File1->FileName(), "clip12.avi");
    EXPECT_EQ(w->File1->FirstVisibleRow(), 10);

    QFile::remove(folder_.FilePath("clips/clip12.avi"));
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(folder_.Exists("clips/clip12.avi")) << "taken back once only";
    EXPECT_EQ(messages_.size(), 1);
}

TEST(TrashUndo, AnOfferEndsAfterItsTimeAndANewOneTakesThePlaceOfTheOld)
{
    QObject owner;
    TrashUndo undo(&owner, 50);
    undo.Offer({"/v/a.avi", "/t/files/a.avi", "/t/info/a.avi.trashinfo"}, {});
    undo.Offer({"/v/b.avi", "/t/files/b.avi", "/t/info/b.avi.trashinfo"}, {});
    ASSERT_TRUE(undo.File());
    EXPECT_EQ(undo.File()->originalPath, "/v/b.avi");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !undo.File(); }, 2000));
}

TEST_F(TrashedFavorites, WithConfirmationTheFileGoesToTheTrashOnlyWhenTheUserAgrees)
{
    auto w = StartWithFiles({"a.avi", "b.avi"});
    shared_->Kakunin = 1;
    bool agree = false;
    w->ConfirmTrash = [&](const QStringList &) { return agree; };
    w->Img_Del_DragDrop(FileAt(*w, 0));
    EXPECT_TRUE(folder_.Exists("clips/a.avi")) << "declined";

    agree = true;
    w->Img_Del_DragDrop(FileAt(*w, 0));
    EXPECT_FALSE(folder_.Exists("clips/a.avi"));
    EXPECT_TRUE(QFileInfo::exists(home_.FilePath("Trash/files/a.avi")));
    EXPECT_EQ(w->File1->ListCount(), 1);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(TrashedFavorites, AFileTheTrashCannotTakeStaysAndTheUserIsTold)
{
    auto w = StartWithFiles({"a.avi"});
    shared_->Kakunin = 1;
    w->ConfirmTrash = [](const QStringList &) { return true; };
    // The trash folder cannot be made: a plain file stands where it would go.
    QFile(home_.FilePath("Trash")).open(QIODevice::WriteOnly);
    w->Img_Del_DragDrop(FileAt(*w, 0));
    EXPECT_TRUE(folder_.Exists("clips/a.avi"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].contains("a.avi"));
}

class Groups : public Favorites
{
protected:
    QByteArray Records(const QStringList &paths)
    {
        QByteArray bytes;
        for (const QString &path : paths)
            bytes += EncodeListRecord(path);
        return bytes;
    }
};

TEST_F(Groups, StartUpMarksTheCurrentTheFilledAndTheEmptyGroups)
{
    const QString clip = folder_.Write("a.avi", "x");
    folder_.Write("Reelbox00.rdm", Records({clip}));
    folder_.Write("Reelbox05.rdm", Records({clip, clip}));
    WriteIni("Group= 5\r\n");
    auto w = Start();
    EXPECT_TRUE(Shows(w->Img_G[0], w->Img_Scan));
    EXPECT_TRUE(Shows(w->Img_G[5], w->Img_pos_on));
    for (int n : {1, 4, 6, 19})
        EXPECT_TRUE(Shows(w->Img_G[n], w->Img_pos_off)) << n;
    EXPECT_EQ(w->List_Favorite->ListCount(), 2);
}

TEST_F(Groups, ASwitchKeepsTheGroupInItsFileAndBringsTheOtherOneIn)
{
    const QString a = folder_.Write("a.avi", "x"), b = folder_.Write("b.avi", "x");
    folder_.Write("Reelbox03.rdm", Records({b}));
    auto w = Start();
    w->AppendFavorites({a});

    w->Img_G_MouseDown(0); // the current group's marker
    EXPECT_FALSE(folder_.Exists("Reelbox00.rdm"));
    EXPECT_EQ(w->List_Favorite->ListCount(), 1);

    w->Img_G_MouseDown(3);
    EXPECT_EQ(folder_.Read("Reelbox00.rdm"), Records({a}));
    EXPECT_TRUE(Shows(w->Img_G[0], w->Img_Scan));
    EXPECT_TRUE(Shows(w->Img_G[3], w->Img_pos_on));
    EXPECT_EQ(w->List_Favorite->Entries(), QStringList{b});
    EXPECT_EQ(shared_->GroupNo, 3);

    w->Favorites->Clear();
    w->Img_G_MouseDown(7); // away from an emptied group: its file goes
    EXPECT_FALSE(folder_.Exists("Reelbox03.rdm"));
    EXPECT_TRUE(Shows(w->Img_G[3], w->Img_pos_off));
    EXPECT_TRUE(Shows(w->Img_G[7], w->Img_pos_on));
    EXPECT_EQ(w->List_Favorite->ListCount(), 0);
}

TEST_F(Groups, UnreachableEntriesStayGreyedArePassedOverAndGoBackByteForByte)
{
    const QString a = folder_.Write("a.avi", "x");
    const QString fifo = folder_.FilePath("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.toUtf8().constData(), 0600), 0);
    const QByteArray foreign = folder_.Path().toUtf8() + "/\x83\x72.avi"; // not UTF-8
    const QByteArray saved = folder_.FilePath("gone.avi").toUtf8().leftJustified(255, '\0') + EncodeListRecord(fifo)
                             + EncodeListRecord(a) + foreign.leftJustified(255, ' ');
    folder_.Write("Reelbox00.rdm", saved);
    auto w = StartWithFiles({});
    const auto shownUnreachable = [&](int row) {
        return w->List_Favorite->model()->index(row, 0).data(Qt::ToolTipRole).isValid();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownUnreachable(0); })) << "greyed once the disk answered";
    ASSERT_EQ(w->List_Favorite->Entries(),
              (QStringList{folder_.FilePath("gone.avi"), fifo, a, DecodeFileName(foreign)}));
    EXPECT_TRUE(shownUnreachable(1) && shownUnreachable(3));
    EXPECT_FALSE(shownUnreachable(2));

    w->Comd_Click(Reelbox_S::PlayFavoritesButton);
    w->List_Favorite->SetListIndex(0);
    w->List_Favorite_MouseDown();
    EXPECT_FALSE(Enabled(*w, Reelbox_S::PlayFavoriteButton)) << "nothing to play";
    EXPECT_TRUE(Enabled(*w, Reelbox_S::RemoveFavoriteButton));
    w->Comd_Click(Reelbox_S::PlayFavoriteButton);
    w->List_Favorite_DblClick();
    ASSERT_EQ(players_->shows.size(), 1);
    EXPECT_EQ(players_->shows[0].PlayFile, a);

    // The file comes back (its drive is plugged in), under its own bytes.
    ::close(::open(foreign.constData(), O_CREAT | O_WRONLY, 0600));
    w->CheckFavorites();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shownUnreachable(3); }));
    shared_->Rdm2 = 1;
    w->Comd_Click(Reelbox_S::PlayFavoritesButton);
    EXPECT_EQ(players_->shows.size(), 3) << "a and the file that came back, in some order";

    w->Img_G_MouseDown(1);
    EXPECT_EQ(folder_.Read("Reelbox00.rdm"), saved);
    w->Img_G_MouseDown(0);
    EXPECT_EQ(w->List_Favorite->ListCount(), 4);
    ::unlink(foreign.constData()); // a name the temporary folder's clean-up cannot spell
}

TEST_F(Groups, PastTheLimitNothingIsAddedAndTheListFileKeepsItsRest)
{
    QByteArray saved;
    for (int i = 0; i < MaxListEntries + 3; ++i)
        saved += EncodeListRecord(QStringLiteral("/v/%1.avi").arg(i));
    folder_.Write("Reelbox00.rdm", saved);
    auto w = StartWithFiles({"a.avi"});
    EXPECT_EQ(w->List_Favorite->ListCount(), MaxListEntries);
    EXPECT_TRUE(Enabled(*w, Reelbox_S::PlayFavoritesButton));
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages_.size() == 1; })) << "told once it is on the screen";
    EXPECT_TRUE(messages_[0].contains("3 個")) << messages_[0].toStdString();

    DragFileToFavorites(*w, 0);
    EXPECT_EQ(w->List_Favorite->ListCount(), MaxListEntries);
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith("1 個のファイル")) << messages_[1].toStdString();
    EXPECT_TRUE(w->SaveSettings().isEmpty());
    EXPECT_EQ(folder_.Read("Reelbox00.rdm"), saved);

    w->Comd_Click(Reelbox_S::ClearFavoritesButton);
    EXPECT_TRUE(w->SaveSettings().isEmpty());
    EXPECT_FALSE(folder_.Exists("Reelbox00.rdm"));
}

TEST_F(Groups, AGroupThatCannotBeSavedStaysCurrentWithItsEntries)
{
    const QString a = folder_.Write("a.avi", "x");
    folder_.Write("Reelbox00.rdm", Records({a}));
    auto w = StartWithFiles({});
    w->AppendFavorites({a});
    {
        FileSizeLimit fullDisk; // the new file cannot be written
        w->Img_G_MouseDown(1);
    }
    EXPECT_EQ(shared_->GroupNo, 0);
    EXPECT_EQ(w->List_Favorite->ListCount(), 2);
    EXPECT_EQ(folder_.Read("Reelbox00.rdm"), Records({a})) << "the old file stays whole";
    EXPECT_EQ(messages_.size(), 1);
}

} // namespace
