// The main window: start-up from a first start and from saved state, the
// painted background, the title-bar drag and both ways of leaving.

#include "app/main_window.h"

#include "app/gradient_panel.h"
#include "app/list_file.h"
#include "app/main_window_fixture.h"
#include "app/reelbox_b.h"
#include "app/title_drag.h"
#include "controls/command.h"
#include "fakes/file_size_limit.h"
#include "fakes/list_records.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QComboBox>
#include <QStorageInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Where control lies on the painted background (which it need not be a child of).
QRect OnBackground(const Reelbox_S &window, const QWidget *control)
{
    return QRect(control->mapTo(&window, QPoint()) - window.Pic_C->pos(), control->size());
}

TEST_F(MainWindow, FirstStartShowsTheProgramFolderWithDefaults)
{
    folder_.Write("a.avi", "x");
    folder_.Write("b.MPG", "x");
    folder_.Write("notes.txt", "x");
    auto w = Start();

    EXPECT_EQ(w->size(), QSize(489, 522));
    EXPECT_EQ(w->Dir1->Path(), folder_.Path());
    EXPECT_EQ(w->Drive1->Drive(), QStorageInfo(folder_.Path()).rootPath());
    EXPECT_EQ(w->Combo_Kind->count(), 8);
    EXPECT_EQ(w->Combo_Kind->currentText(), "*.ram;*.rm;*.avi;*.mpeg;*.mpg;*.asf;*.wmv;*.divx;*.dat;*.rmvb");
    EXPECT_EQ(w->File1->ListCount(), 2);

    EXPECT_TRUE(Shows(w->Img_rdm1[0], w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_rdm1[1], w->Img_Opt_off));
    EXPECT_TRUE(Shows(w->Img_rdm2[0], w->Img_Opt_on));
    for (PictureLabel *image : {w->Img_Full1, w->Img_Full2, w->Img_Rep1, w->Img_Rep2, w->Img_Kakunin})
        EXPECT_TRUE(Shows(image, w->Img_Opt_off));
    EXPECT_TRUE(Shows(w->Img_G[0], w->Img_pos_on));
    for (int n = 1; n < 20; ++n)
        EXPECT_TRUE(Shows(w->Img_G[n], w->Img_pos_off)) << n;

    EXPECT_EQ(w->List_Favorite->ListCount(), 0);
    EXPECT_TRUE(w->Comd[Reelbox_S::PlayFilesButton]->EnabledProperty()); // two files: continuous play
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFileButton]->EnabledProperty()); // until a file is pressed
    EXPECT_TRUE(w->Comd[Reelbox_S::AllToFavoritesButton]->EnabledProperty());
    for (int index : {Reelbox_S::PlayFavoritesButton, Reelbox_S::PlayFavoriteButton, Reelbox_S::RemoveFavoriteButton,
                      Reelbox_S::ClearFavoritesButton})
        EXPECT_FALSE(w->Comd[index]->EnabledProperty()) << index;
    EXPECT_TRUE(w->Comd[Reelbox_S::CancelButton]->EnabledProperty());
    EXPECT_TRUE(w->Comd[Reelbox_S::ExitButton]->EnabledProperty());
    EXPECT_EQ(w->Comd[Reelbox_S::AllToFavoritesButton]->Caption(), "全てFavorite");
}

TEST_F(MainWindow, StartUpRestoresSwitchesGroupMarkersAndFavourites)
{
    const QString movies = folder_.MakeFolder("movies");
    const QString a = folder_.Write("movies/a.avi", "x");
    const QString b = folder_.Write("movies/b.avi", "x");
    WriteIni("Path=" + movies.toUtf8() + "\r\nrdm1= 1\r\nGroup= 5\r\nFull2= 1\r\nRep1= 1\r\nKakunin= 1\r\n");
    WriteListFile(folder_.FilePath("Reelbox00.rdm"), Records({a}));
    const QString gone = folder_.FilePath("movies/deleted.avi");
    WriteListFile(folder_.FilePath("Reelbox05.rdm"), Records({a, gone, b}));
    folder_.Write("Reelbox09.rdm", QByteArray(200, ' ')); // shorter than a record: empty
    auto w = Start();

    EXPECT_EQ(w->Dir1->Path(), movies);
    EXPECT_TRUE(Shows(w->Img_rdm1[1], w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_rdm1[0], w->Img_Opt_off));
    EXPECT_TRUE(Shows(w->Img_Full2, w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_Rep1, w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_Kakunin, w->Img_Opt_on));
    EXPECT_TRUE(Shows(w->Img_Full1, w->Img_Opt_off));

    EXPECT_TRUE(Shows(w->Img_G[0], w->Img_Scan));
    EXPECT_TRUE(Shows(w->Img_G[5], w->Img_pos_on));
    EXPECT_TRUE(Shows(w->Img_G[9], w->Img_pos_off));
    EXPECT_EQ(w->List_Favorite->Entries(), (QStringList{a, gone, b})) << "a missing file's entry stays";
    EXPECT_TRUE(w->Comd[Reelbox_S::PlayFavoritesButton]->EnabledProperty());
    EXPECT_TRUE(w->Comd[Reelbox_S::ClearFavoritesButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFavoriteButton]->EnabledProperty());
    EXPECT_EQ(w->FileStartIndex, 0);
    EXPECT_EQ(w->FavoriteStartIndex, 0);
}

TEST_F(MainWindow, OneFileEnablesOnlyAddAllAndNoFileNothing)
{
    folder_.Write("only.wmv", "x");
    auto w = Start();
    EXPECT_TRUE(w->Comd[Reelbox_S::AllToFavoritesButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFilesButton]->EnabledProperty());
    w->Dir1->SetPath(folder_.MakeFolder("empty"));
    EXPECT_FALSE(w->Comd[Reelbox_S::AllToFavoritesButton]->EnabledProperty());
    EXPECT_FALSE(w->Comd[Reelbox_S::PlayFilesButton]->EnabledProperty());
}

TEST_F(MainWindow, ControlsSitAtTheirDesignPlaces)
{
    auto w = Start();
    EXPECT_EQ(w->Pic_C->geometry(), QRect(0, 20, 493, 501));
    EXPECT_EQ(OnBackground(*w, w->Comd[Reelbox_S::PlayFileButton]), QRect(376, 68, 97, 25));
    EXPECT_EQ(OnBackground(*w, w->Comd[Reelbox_S::ExitButton]), QRect(376, 460, 97, 25));
    EXPECT_EQ(OnBackground(*w, w->Comd[Reelbox_S::CancelButton]), QRect(268, 460, 97, 25));
    EXPECT_EQ(OnBackground(*w, w->File1), QRect(184, 40, 181, 175));
    EXPECT_EQ(OnBackground(*w, w->List_Favorite), QRect(16, 264, 349, 186));
    EXPECT_EQ(OnBackground(*w, w->Img_G[19]).topLeft(), QPoint(452, 248));
    EXPECT_EQ(w->ImgExit->pos(), QPoint(468, 4));
    EXPECT_EQ(w->List_Favorite->HorizontalExtent(), 949);
}

TEST(Background, SineGradientIsDarkAtTheEdgesAndLightInTheMiddle)
{
    EXPECT_EQ(BackgroundRowColour(0, 501), QColor(0, 30, 30));
    EXPECT_EQ(BackgroundRowColour(250, 501), QColor(220, 250, 250));
    EXPECT_EQ(BackgroundRowColour(500, 501), QColor(1, 31, 31));

    GradientPanel panel;
    panel.resize(50, 501);
    EXPECT_EQ(panel.Background().pixelColor(10, 0), QColor(0, 30, 30));
    EXPECT_EQ(panel.Background().pixelColor(49, 250), QColor(220, 250, 250));
    panel.resize(50, 100); // a new size repaints the whole picture
    EXPECT_EQ(panel.Background().height(), 100);
    EXPECT_EQ(panel.Background().pixelColor(0, 50), QColor(220, 250, 250));
}

TEST(TitleDrag, WindowKeepsItsOffsetFromTheCursor)
{
    // Cursor at (100, 50) px over a window at (1200, 600) twips = (80, 40) px.
    const QPoint offset = TitleDragOffset({100, 50}, {1200, 600});
    EXPECT_EQ(offset, QPoint(300, 150));
    EXPECT_EQ(TitleDragPosition({130, 70}, offset), QPoint(1650, 900));
}

TEST_F(MainWindow, TitleDragFollowsTheCursorOnlyWithTheLeftButton)
{
    auto w = Start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->move(100, 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->pos() == QPoint(100, 100); }));

    // The press counts where it happened, (110, 105), even when the cursor
    // has moved on by the time it is handled.
    QCursor::setPos(300, 300);
    QTest::mousePress(w->Image_head, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(w->Dragging, 0);
    QTest::mouseRelease(w->Image_head, Qt::RightButton, {}, QPoint(10, 5));
    QTest::mousePress(w->Image_head, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(w->Dragging, 1);
    EXPECT_EQ(QPoint(w->DragOffsetX, w->DragOffsetY), QPoint(150, 75));

    QCursor::setPos(160, 125);
    w->Image_head_MouseMove();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->pos() == QPoint(150, 120); }));
    w->Image_head_MouseUp();
    EXPECT_EQ(w->Dragging, 0);
    QCursor::setPos(300, 300);
    w->Image_head_MouseMove();
    EXPECT_EQ(w->pos(), QPoint(150, 120));
}

TEST_F(MainWindow, CancelLeavesWithoutSaving)
{
    WriteIni("rdm1= 1\r\n");
    const QByteArray before = folder_.Read("Reelbox.ini");
    auto w = Start();
    w->show();
    shared_->Rdm1 = 0;
    w->AppendFavorites({folder_.Write("a.avi", "x")});
    w->Comd_Click(Reelbox_S::CancelButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(folder_.Read("Reelbox.ini"), before);
    EXPECT_FALSE(folder_.Exists("Reelbox00.rdm"));
}

TEST_F(MainWindow, ExitSavesSettingsAndTheCurrentGroup)
{
    const QString clip = folder_.Write("a.avi", "x");
    auto w = Start();
    w->show();
    shared_->Full1 = 1;
    w->AppendFavorites({clip});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::mouseMove(w->Comd[Reelbox_S::ExitButton]); // hovered first: a press then gives focus and clicks
    QTest::mouseClick(w->Comd[Reelbox_S::ExitButton], Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Paths(ReadListFile(folder_.FilePath("Reelbox00.rdm"))), QStringList{clip});
    Reelbox_B reloaded(folder_.Path());
    reloaded.LoadSettings();
    EXPECT_EQ(reloaded.Full1, 1);
    EXPECT_EQ(reloaded.LastPath, folder_.Path());
}

TEST_F(MainWindow, ExitThatCannotSaveSaysWhereItTriedAndLeavesOnlyWhenTold)
{
    auto w = Start();
    w->show();
    w->AppendFavorites({folder_.Write("a.avi", "x")});
    QStringList texts;
    int style = 0;
    int answer = MessageBoxAnswer::No;
    w->ShowMessage = [&](const QString &text, int s, const QString &title) {
        texts.append(text);
        style = s;
        EXPECT_EQ(title, "Reelbox");
        return answer;
    };
    FileSizeLimit fullDisk; // both writes fail
    w->Comd_Click(Reelbox_S::ExitButton);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains(folder_.FilePath("Reelbox.ini"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].contains(folder_.FilePath("Reelbox00.rdm"))) << texts[0].toStdString();
    EXPECT_EQ(style, MessageBoxStyle::Exclamation | MessageBoxStyle::YesNo | MessageBoxStyle::DefaultButton2);
    EXPECT_TRUE(w->isVisible());

    answer = MessageBoxAnswer::Yes;
    w->Comd_Click(Reelbox_S::ExitButton);
    EXPECT_EQ(texts.size(), 2);
    EXPECT_FALSE(w->isVisible());

    // Saving in the user's folder because the program's own is read-only: both are named.
    const QString text = UnsavedFilesText({"/home/u/.config/reelbox/Reelbox.ini"}, "/usr/bin");
    EXPECT_TRUE(text.contains("/home/u/.config/reelbox/Reelbox.ini") && text.contains("/usr/bin"))
        << text.toStdString();
}

TEST_F(MainWindow, ClosePictureShowsPressedThenLeavesWithoutSaving)
{
    auto w = Start();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::mousePress(w->ImgExit, Qt::LeftButton);
    QTest::mouseRelease(w->ImgExit, Qt::LeftButton, {}, QPoint(-30, 8)); // slid off: taken back
    EXPECT_TRUE(Shows(w->ImgExit, w->imgImages[0]));
    EXPECT_TRUE(w->isVisible());
    QTest::mousePress(w->ImgExit, Qt::LeftButton);
    EXPECT_TRUE(Shows(w->ImgExit, w->imgImages[1]));
    QTest::mouseRelease(w->ImgExit, Qt::LeftButton);
    EXPECT_TRUE(Shows(w->ImgExit, w->imgImages[0]));
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(folder_.Exists("Reelbox.ini"));
}

} // namespace
