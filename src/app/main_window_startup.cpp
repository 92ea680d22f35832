// The main window's load: restoring the last run, and the browser links that
// the load sets in motion.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "base/file_kinds.h"
#include "base/folder_listing.h"
#include "base/units.h"
#include "controls/command.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QScreen>

void Reelbox_S::ConnectHandlers()
{
    connect(Image_head, &PictureLabel::MouseDown, this, &Reelbox_S::Image_head_MouseDown);
    connect(Image_head, &PictureLabel::MouseMove, this, &Reelbox_S::Image_head_MouseMove);
    connect(Image_head, &PictureLabel::MouseUp, this, &Reelbox_S::Image_head_MouseUp);
    connect(ImgExit, &PictureLabel::MouseDown, this, &Reelbox_S::ImgExit_MouseDown);
    connect(ImgExit, &PictureLabel::MouseUp, this, &Reelbox_S::ImgExit_MouseUp);
    connect(ImgExit, &PictureLabel::Click, this, &Reelbox_S::ImgExit_Click);
    connect(lbl_URL, &PictureLabel::MouseDown, this, &Reelbox_S::lbl_URL_MouseDown);
    connect(Drive1, &DriveListBox::Change, this, &Reelbox_S::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &Reelbox_S::Dir1_Change);
    connect(Combo_Kind, &QComboBox::activated, this, &Reelbox_S::Combo_Kind_Click);
    connect(File1, &FileListBox::DblClick, this, &Reelbox_S::File1_DblClick);
    connect(File1, &FileListBox::MouseDown, this, &Reelbox_S::File1_MouseDown);
    connect(File1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Reelbox_S::File1_SelectionChange);
    for (qint16 index = 0; index < qint16(Comd.size()); ++index)
        connect(Comd[index], &Command::Click, this, [this, index] { Comd_Click(index); });
    ConnectSwitches();
    ConnectFavorites();
    ConnectMarks();
}

void Reelbox_S::Form_Load()
{
    Dragging = 0;
    setFixedSize(TwipsToPixels(7335), TwipsToPixels(7830));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    List_Favorite->SetHorizontalExtent(TwipsToPixels(5235) + 600);
    SetCommandButtons(this, -1, 0);
    B.LoadSettings();

    const QStringList filters = FileTypeFilters();
    Combo_Kind->addItems(filters);
    Combo_Kind->setCurrentIndex(0);
    File1->SetPattern(filters.first());

    ShowSwitchPictures();
    Dir1->SetPath(B.LastPath, SavedFolder ? SavedFolder->Take(B.LastPath) : std::nullopt);
    Drive1->SetDrive(B.LastPath); // the folder list's change has filled the file list
    GiveClickablesThePointer();
    ShowGroupMarkers();
    LoadFavorites(B.GroupNo);

    EnableFileButtons();
    EnableFavoriteButtons();
    FileStartIndex = 0;
    FavoriteStartIndex = 0;
}

void Reelbox_S::SetSwitchPicture(PictureLabel *image, qint16 value)
{
    image->SetPictureProperty(value != 0 ? Img_Opt_on->PictureProperty() : Img_Opt_off->PictureProperty());
}

void Reelbox_S::ShowSwitchPictures()
{
    for (int i = 0; i < 2; ++i) {
        SetSwitchPicture(Img_rdm1[i], B.Rdm1 == i);
        SetSwitchPicture(Img_rdm2[i], B.Rdm2 == i);
    }
    SetSwitchPicture(Img_Kakunin, B.Kakunin);
    SetSwitchPicture(Img_Full1, B.Full1);
    SetSwitchPicture(Img_Full2, B.Full2);
    SetSwitchPicture(Img_Rep1, B.Rep1);
    SetSwitchPicture(Img_Rep2, B.Rep2);
}

void Reelbox_S::GiveClickablesThePointer()
{
    const QCursor pointer = ImgExit->cursor();
    QList<PictureLabel *> clickables{lbl_URL};
    for (int i = 0; i < 2; ++i)
        clickables << Img_rdm1[i] << lbl_rdm1[i] << Img_rdm2[i] << lbl_rdm2[i];
    clickables << Img_Full1 << lbl_Full1 << Img_Full2 << lbl_Full2 << Img_Rep1 << lbl_Rep1 << Img_Rep2 << lbl_Rep2
               << Img_Kakunin << lbl_Kakunin;
    for (PictureLabel *image : Img_G)
        clickables << image;
    for (PictureLabel *clickable : clickables)
        clickable->setCursor(pointer);
}
