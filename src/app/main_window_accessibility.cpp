// What screen readers are told about the main window: the window itself, its
// controls in reading order with each list's own in a panel named for the
// list, the names of the lists, the pictures that act as buttons, the trash
// as the drop target it is, the switches as check boxes and radio buttons
// named by their labels, and the group markers as radio buttons named by
// their group's number, described by whether the group holds entries. The
// pictures that only decorate are left out. The window looks and works as
// before.

#include "app/main_window.h"

#include "app/gradient_panel.h"
#include "app/reelbox_b.h"
#include "controls/command.h"
#include "widgets/accessible_widgets.h"
#include "widgets/control_panel.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>

namespace {

const QString FilesName = QStringLiteral("ファイル");

// Without it the frameless window would be read as a mere panel.
QAccessibleInterface *CreateWindowInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("Reelbox_S"))
        return new AccessibleContainer(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// A picture that a label beside it names: the picture takes the label's text
// as its name, and the label is related to it rather than read on its own.
void DescribeSwitch(PictureLabel *image, PictureLabel *label, QAccessible::Role role, const QPixmap &on)
{
    image->SetAccessibleRole(role);
    image->SetCheckedPicture(on);
    label->setBuddy(image);
}

// Screen readers on Linux take a combo box's name to be its current text and
// read what it is for from the label related to it. These boxes have no label
// on screen, so each gets one that is never shown.
void NameByHiddenLabel(QComboBox *box, const QString &name)
{
    auto *label = new QLabel(name, box->parentWidget());
    label->hide();
    label->setBuddy(box);
}

void DescribeButton(PictureLabel *image, const QString &name, const QString &description)
{
    image->SetAccessibleRole(QAccessible::PushButton);
    image->setAccessibleName(name);
    image->setAccessibleDescription(description);
}

} // namespace

// The controls are made on the background at their design places; here they
// move onto the window itself, which readers then find them in.
void Reelbox_S::GroupControls()
{
    QList<QWidget *> files{Combo_Kind, File1, lbl[0]};
    files << Img_Full1 << lbl_Full1 << Comd[PlayFileButton] << Img_Rep1 << lbl_Rep1 << Comd[PlayFilesButton]
          << Img_rdm1[0] << lbl_rdm1[0] << Img_rdm1[1] << lbl_rdm1[1] << Img_Del << Img_Kakunin << lbl_Kakunin
          << Comd[AllToFavoritesButton];
    QList<QWidget *> favorites{lbl[5], lbl_G};
    for (PictureLabel *marker : Img_G)
        favorites << marker;
    favorites << List_Favorite << Img_Full2 << lbl_Full2 << Comd[PlayFavoriteButton] << Img_Rep2 << lbl_Rep2
              << Comd[PlayFavoritesButton] << Img_rdm2[0] << lbl_rdm2[0] << Img_rdm2[1] << lbl_rdm2[1]
              << Comd[RemoveFavoriteButton] << Comd[ClearFavoritesButton];
    MoveInto(Drive1, this);
    MoveInto(Dir1, this);
    (new ControlPanel(FilesName, this))->Gather(files);
    MoveInto(Line1, this);
    (new ControlPanel(lbl[5]->text(), this))->Gather(favorites);
    for (QWidget *control : QList<QWidget *>{lbl[2], lbl_URL, Comd[CancelButton], Comd[ExitButton]})
        MoveInto(control, this);
}

QList<QWidget *> Reelbox_S::ReadingOrder() const
{
    QList<QWidget *> order;
    for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (const auto *panel = qobject_cast<ControlPanel *>(control))
            order << panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        else
            order << control;
    }
    return order;
}

void Reelbox_S::DescribeForScreenReaders()
{
    InstallAccessibleFactory(CreateWindowInterface);

    NameByHiddenLabel(Drive1, QStringLiteral("ドライブ"));
    NameByHiddenLabel(Combo_Kind, QStringLiteral("ファイルの種類"));
    Dir1->setAccessibleName(QStringLiteral("フォルダ"));
    File1->setAccessibleName(FilesName);
    List_Favorite->setAccessibleName(lbl[5]->text());
    lbl[5]->setBuddy(List_Favorite);

    DescribeButton(ImgExit, QStringLiteral("閉じる"), QStringLiteral("保存しないで終了します"));
    // A picture that takes drops and has nothing to press.
    Img_Del->setAccessibleName(QStringLiteral("ごみ箱"));
    Img_Del->setAccessibleDescription(
        QStringLiteral("ドロップ先: ファイルの一覧からここへドラッグしたファイルを削除します"));
    lbl_URL->SetAccessibleRole(QAccessible::Link);
    const QList<QWidget *> decorations{Pic_C,      Line1,       Image_head, Image1,      imgImages[0], imgImages[1],
                                       Img_Opt_on, Img_Opt_off, Img_pos_on, Img_pos_off, Img_Scan};
    for (QWidget *decoration : decorations)
        HideFromScreenReaders(decoration);

    const QPixmap on = Img_Opt_on->PictureProperty();
    DescribeSwitch(Img_Full1, lbl_Full1, QAccessible::CheckBox, on);
    DescribeSwitch(Img_Rep1, lbl_Rep1, QAccessible::CheckBox, on);
    DescribeSwitch(Img_Full2, lbl_Full2, QAccessible::CheckBox, on);
    DescribeSwitch(Img_Rep2, lbl_Rep2, QAccessible::CheckBox, on);
    DescribeSwitch(Img_Kakunin, lbl_Kakunin, QAccessible::CheckBox, on);
    for (int i = 0; i < 2; ++i) {
        DescribeSwitch(Img_rdm1[i], lbl_rdm1[i], QAccessible::RadioButton, on);
        DescribeSwitch(Img_rdm2[i], lbl_rdm2[i], QAccessible::RadioButton, on);
    }
    for (int n = 0; n < int(Img_G.size()); ++n) {
        Img_G[n]->SetAccessibleRole(QAccessible::RadioButton);
        Img_G[n]->SetCheckedPicture(Img_pos_on->PictureProperty());
        Img_G[n]->setAccessibleName(QStringLiteral("グループ %1").arg(n + 1)); // counted from 1, as the user counts
    }
}

// The current group holds what its list shows; the others what their markers show.
void Reelbox_S::DescribeGroupMarkers()
{
    const qint64 filled = Img_Scan->PictureProperty().cacheKey();
    for (int n = 0; n < int(Img_G.size()); ++n) {
        const bool hasEntries =
            n == B.GroupNo ? List_Favorite->ListCount() > 0 : Img_G[n]->PictureProperty().cacheKey() == filled;
        const QString description = hasEntries ? QStringLiteral("登録あり") : QString();
        if (Img_G[n]->accessibleDescription() != description) // each change is told to screen readers
            Img_G[n]->setAccessibleDescription(description);
    }
}
