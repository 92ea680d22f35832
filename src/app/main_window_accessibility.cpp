// What screen readers are told about the main window: the window itself, the
// names of the lists, the pictures that act as buttons, the switches as check
// boxes and radio buttons named by their labels, and the group markers as
// radio buttons named by their group's number, described by whether the group
// holds entries. The window looks and works as before.

#include "app/main_window.h"

#include "app/reelbox_b.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace {

// Without it the frameless window would be read as a mere panel.
QAccessibleInterface *CreateWindowInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("Reelbox_S"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
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

void Reelbox_S::DescribeForScreenReaders()
{
    static const bool installed = [] {
        QAccessible::installFactory(CreateWindowInterface);
        return true;
    }();
    Q_UNUSED(installed);

    NameByHiddenLabel(Drive1, QStringLiteral("ドライブ"));
    NameByHiddenLabel(Combo_Kind, QStringLiteral("ファイルの種類"));
    Dir1->setAccessibleName(QStringLiteral("フォルダ"));
    File1->setAccessibleName(QStringLiteral("ファイル"));
    List_Favorite->setAccessibleName(lbl[5]->text());
    lbl[5]->setBuddy(List_Favorite);

    DescribeButton(ImgExit, QStringLiteral("閉じる"), QStringLiteral("保存しないで終了します"));
    DescribeButton(Img_Del, QStringLiteral("ごみ箱"),
                   QStringLiteral("ファイルの一覧からここへドラッグしたファイルを削除します"));
    lbl_URL->SetAccessibleRole(QAccessible::Link);

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
