// The main window's controls, each at its design place (in twips).

#include "app/main_window.h"

#include "app/favorite_list.h"
#include "app/gradient_panel.h"
#include "app/play_order.h"
#include "app/reach_checker.h"
#include "app/reelbox_b.h"
#include "base/program_name.h"
#include "base/units.h"
#include "controls/command.h"
#include "controls/property_bag.h"
#include "desktop/mount_watcher.h"
#include "widgets/dir_list_box.h"
#include "widgets/drive_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/fonts.h"
#include "widgets/list_box.h"
#include "widgets/picture_label.h"

#include <QComboBox>
#include <QFrame>
#include <QPainter>
#include <QTimer>

namespace {

const QString CaptionTitle = ProgramName;
const QString CreditLine = ProgramName + QStringLiteral(" Video Player  ver.1.6.0");
// The link opens the program's documentation page in the desktop's browser.
const QString LinkText = ProgramName + QStringLiteral(" の使い方と説明");

struct ButtonPlace
{
    int index, left, top;
    const char *caption;
};

// The buttons in their creation order, which is the order they are switched in.
constexpr ButtonPlace ButtonPlaces[] = {
    {Reelbox_S::PlayFileButton, 5640, 1020, "再生"},
    {Reelbox_S::PlayFilesButton, 5640, 1740, "連続再生"},
    {Reelbox_S::AllToFavoritesButton, 5640, 3120, "全てFavorite"},
    {Reelbox_S::PlayFavoriteButton, 5640, 4380, "再生"},
    {Reelbox_S::PlayFavoritesButton, 5640, 5160, "連続再生"},
    {Reelbox_S::RemoveFavoriteButton, 5640, 5940, "ﾘｽﾄから削除"},
    {Reelbox_S::ClearFavoritesButton, 5640, 6420, "全部ｸﾘｱ"},
    {Reelbox_S::CancelButton, 4020, 6900, "ｷｬﾝｾﾙ"},
    {Reelbox_S::ExitButton, 5640, 6900, "終了"},
};

// Colours a label's text through its palette: a style sheet would do the same
// but brings Qt's style-sheet machinery into the start-up.
void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

Reelbox_S::Reelbox_S(Reelbox_B &shared, PlayerFactory &players, FolderPrefetch *savedFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , B(shared)
    , Players(players)
    , SavedFolder(savedFolder)
    , RandomGenerator(SeededGenerator())
    , Mounts(new MountWatcher(this))
    , Reach(new ReachChecker(this))
{
    ShowMessage = [this](const QString &text, int style, const QString &title) {
        return ShowMessageBox(this, text, style, title);
    };
    ConfirmTrash = [this](const QStringList &paths) { return AskToMoveToTrash(paths, this); };
    setWindowTitle(CaptionTitle);
    setFont(DesignFont());
    CreatePictureStores();
    // The background comes first so that everything else is drawn on top of it.
    Pic_C = new GradientPanel(this);
    Pic_C->setGeometry(TwipsRect(0, 300, 7395, 7515));
    CreateTitleBar();
    CreateBrowser();
    CreateButtons();
    CreateSwitches();
    CreateFavorites();
    CreateFooter();
    GroupControls();
    DescribeForScreenReaders();
    ConnectHandlers();
    Form_Load();
    SetUpKeyboard();
    SetUpFavoriteSearch();
}

// The painted background ends a pixel row above the window's bottom edge; the
// window itself shows the gradient's dark end there, not the platform's grey.
void Reelbox_S::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), BackgroundRowColour(0, 1));
}

void Reelbox_S::Tell(const QString &text)
{
    if (isVisible())
        ShowMessage(text, MessageBoxStyle::Exclamation, CaptionTitle);
    else
        MessagesForShow.append(text);
}

void Reelbox_S::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (MessagesForShow.isEmpty())
        return;
    QTimer::singleShot(0, this, [this] {
        for (const QString &text : std::exchange(MessagesForShow, {}))
            ShowMessage(text, MessageBoxStyle::Exclamation, CaptionTitle);
    });
}

PictureLabel *Reelbox_S::NewImage(QWidget *parent, int left, int top, const QString &skin)
{
    auto *image = new PictureLabel(parent);
    image->SetPictureProperty(SkinPicture(skin));
    image->setGeometry(QRect(TwipsToPixels(QPoint(left, top)), image->PictureProperty().size()));
    return image;
}

PictureLabel *Reelbox_S::NewLabel(QWidget *parent, int left, int top, int width, const QString &text)
{
    auto *label = new PictureLabel(parent);
    label->setText(text);
    label->adjustSize();
    // The design width, widened when the stand-in font draws the text wider.
    const int pixels = qMax(TwipsToPixels(width), label->width());
    label->setGeometry(TwipsToPixels(left), TwipsToPixels(top), pixels, qMax(TwipsToPixels(195), label->height()));
    return label;
}

void Reelbox_S::CreatePictureStores()
{
    // Picture stores only: they lie outside the window in the design and are never shown.
    imgImages[0] = NewImage(this, 8700, 840, QStringLiteral("close_normal"));
    imgImages[1] = NewImage(this, 8400, 840, QStringLiteral("close_pressed"));
    Img_Opt_on = NewImage(this, 8400, 1560, QStringLiteral("switch_on"));
    Img_Opt_off = NewImage(this, 8640, 1560, QStringLiteral("switch_off"));
    Img_pos_on = NewImage(this, 8400, 2220, QStringLiteral("group_current"));
    Img_pos_off = NewImage(this, 8640, 2220, QStringLiteral("group_empty"));
    Img_Scan = NewImage(this, 8880, 2220, QStringLiteral("group_filled"));
    for (PictureLabel *store : {imgImages[0], imgImages[1], Img_Opt_on, Img_Opt_off, Img_pos_on, Img_pos_off, Img_Scan})
        store->hide();
}

void Reelbox_S::CreateTitleBar()
{
    Image_head = NewImage(this, 0, 0, QStringLiteral("title_bar"));
    Image1 = NewImage(this, 120, 60, QStringLiteral("emblem"));
    lbl[3] = NewLabel(this, 420, 60, 915, CaptionTitle);
    SetTextColour(lbl[3], Qt::white);
    QFont bold = lbl[3]->font();
    bold.setBold(true);
    lbl[3]->setFont(bold);
    lbl[3]->setAttribute(Qt::WA_TransparentForMouseEvents); // the title text drags like the bar
    ImgExit = NewImage(this, 7020, 60, QStringLiteral("close_normal"));
    ImgExit->setCursor(SkinPointer());
}

void Reelbox_S::CreateBrowser()
{
    Drive1 = new DriveListBox(Pic_C);
    Drive1->setGeometry(TwipsRect(240, 180, 2445, 315));
    Drive1->setCursor(SkinPointer()); // the pointer a dragged file shows over the list
    Combo_Kind = new QComboBox(Pic_C);
    Combo_Kind->setGeometry(TwipsRect(2760, 180, 2715, 315));
    Dir1 = new DirListBox(Pic_C);
    Dir1->setGeometry(TwipsRect(240, 600, 2445, 3015));
    File1 = new FileListBox(Pic_C);
    File1->setGeometry(TwipsRect(2760, 600, 2715, 2625));
    lbl[0] = NewLabel(Pic_C, 2820, 3300, 2505, QStringLiteral("DragDropでFavoriteﾘｽﾄに追加"));
    Img_Del = NewImage(Pic_C, 5640, 2520, QStringLiteral("trash"));
    Line1 = new QFrame(Pic_C);
    Line1->setGeometry(TwipsToPixels(2760), TwipsToPixels(3600), TwipsToPixels(7020 - 2760), 1);
    Line1->setFrameShape(QFrame::NoFrame);
    Line1->setAutoFillBackground(true);
    QPalette line = Line1->palette();
    line.setColor(QPalette::Window, QColor(40, 90, 90));
    Line1->setPalette(line);
}

void Reelbox_S::CreateButtons()
{
    // Each button loads as the window stores it: only its caption and font differ
    // from the defaults.
    for (const ButtonPlace &place : ButtonPlaces) {
        auto *button = new Command(Pic_C);
        button->setGeometry(TwipsRect(place.left, place.top, 1455, 375));
        PropertyBag stored;
        stored.WriteProperty(QStringLiteral("Caption"), QString::fromUtf8(place.caption), QStringLiteral("Command"));
        stored.WriteProperty(QStringLiteral("Font"), DesignFont(), QVariant());
        button->ReadProperties(stored);
        Comd[place.index] = button;
    }
}

void Reelbox_S::CreateSwitches()
{
    auto pair = [this](int top, const QString &skin, const QString &caption) {
        return std::pair{NewImage(Pic_C, 5640, top, skin), NewLabel(Pic_C, 5880, top, 0, caption)};
    };
    const QString off = QStringLiteral("switch_off");
    std::tie(Img_Full1, lbl_Full1) = pair(720, off, QStringLiteral("ﾌﾙｽｸﾘｰﾝ"));
    std::tie(Img_Rep1, lbl_Rep1) = pair(1440, off, QStringLiteral("繰り返し"));
    std::tie(Img_Full2, lbl_Full2) = pair(4080, off, QStringLiteral("ﾌﾙｽｸﾘｰﾝ"));
    std::tie(Img_Rep2, lbl_Rep2) = pair(4800, off, QStringLiteral("繰り返し"));
    const QString orderCaptions[2] = {QStringLiteral("順次"), QStringLiteral("ﾗﾝﾀﾞﾑ")};
    for (int i = 0; i < 2; ++i) {
        Img_rdm1[i] = NewImage(Pic_C, 5640 + 720 * i, 2160, off);
        lbl_rdm1[i] = NewLabel(Pic_C, 5880 + 720 * i, 2160, 0, orderCaptions[i]);
        Img_rdm2[i] = NewImage(Pic_C, 5640 + 720 * i, 5580, off);
        lbl_rdm2[i] = NewLabel(Pic_C, 5880 + 720 * i, 5580, 0, orderCaptions[i]);
    }
    Img_Kakunin = NewImage(Pic_C, 6240, 2760, off);
    lbl_Kakunin = NewLabel(Pic_C, 6480, 2760, 0, QStringLiteral("確認"));
}

void Reelbox_S::CreateFavorites()
{
    lbl[5] = NewLabel(Pic_C, 240, 3720, 1050, QStringLiteral("Favorite ﾘｽﾄ"));
    lbl_G = NewLabel(Pic_C, 1560, 3720, 555, QStringLiteral("ｸﾞﾙｰﾌﾟ"));
    for (int n = 0; n < 20; ++n)
        Img_G[n] = NewImage(Pic_C, 2220 + 240 * n, 3720, QStringLiteral("group_empty"));
    List_Favorite = new ListBox(Pic_C);
    List_Favorite->setGeometry(TwipsRect(240, 3960, 5235, 2790));
    Favorites = new FavoriteList(List_Favorite);
    Favorites->SetFont(List_Favorite->font());
    List_Favorite->setModel(Favorites);
}

void Reelbox_S::CreateFooter()
{
    lbl[2] = NewLabel(Pic_C, 240, 6840, 2445, CreditLine);
    SetTextColour(lbl[2], QColor(255, 150, 200));
    lbl_URL = NewLabel(Pic_C, 240, 7080, 3285, LinkText);
    SetTextColour(lbl_URL, Qt::white);
}
