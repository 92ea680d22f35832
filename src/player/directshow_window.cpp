// The DirectShow player window: its controls, the load and the layout.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "app/shared_procedures.h"
#include "controls/seek_bar_form.h"
#include "controls/visual_scroll_bar.h"
#include "platform/fonts.h"
#include "platform/media/filgraph_manager.h"
#include "platform/picture_label.h"
#include "player/player_rules.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int TitleHeight = 20;
constexpr int PanelHeight = 33;
constexpr qint32 ChildWindowStyle = 0x46000000; // child, clip siblings, clip children
const QString DesignTime = QStringLiteral("00:00:00");

QLabel *NewTimeLabel(QWidget *parent, int left)
{
    auto *label = new QLabel(DesignTime, parent);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #E0E0E0; background: transparent;"));
    label->setGeometry(left, 12, 46, 14);
    return label;
}

QRect ScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

Reelbox_M::Reelbox_M(Reelbox_B &shared, PlaybackEngine &engine, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , B(shared)
    , engine_(engine)
{
    setWindowTitle(QStringLiteral("Reelbox"));
    setFont(DesignFont());
    setStyleSheet(QStringLiteral("Reelbox_M { background-color: #808080; }"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(grey);
    CreateControls();
}

Reelbox_M::~Reelbox_M()
{
    CleanUp();
}

void Reelbox_M::CreateControls()
{
    Image1 = new PictureLabel(this);
    Image1->SetPicture(SkinPicture(QStringLiteral("title_bar")));
    Image1->setScaledContents(true);
    Image1->setGeometry(0, 0, 233, TitleHeight);
    ImgExit = new PictureLabel(this);
    ImgExit->SetPicture(SkinPicture(QStringLiteral("close_normal")));
    ImgExit->setGeometry(216, 4, 15, 15);
    ImgExit->setCursor(SkinPointer());
    lbl_msg = new QLabel(QStringLiteral("Loading..."), this);
    lbl_msg->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lbl_msg->setAttribute(Qt::WA_TransparentForMouseEvents); // the strip drags under it
    lbl_msg->move(8, 3);
    Display = new QWidget(this);
    Display->setGeometry(0, TitleHeight, 233, 193);
    Display->setFocusPolicy(Qt::TabFocus);
    Display->setStyleSheet(QStringLiteral("background: black;"));
    Display->setAttribute(Qt::WA_StyledBackground);
    Display->installEventFilter(this);
    CreateBottomPanel();

    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &Reelbox_M::Timer1_Timer);
    connect(H1, &dtVisualScrollBar::Scroll, this, &Reelbox_M::H1_Scroll);
    connect(Image1, &PictureLabel::MouseDown, this, &Reelbox_M::Image1_MouseDown);
    connect(Image1, &PictureLabel::MouseMove, this, &Reelbox_M::Image1_MouseMove);
    connect(Image1, &PictureLabel::MouseUp, this, &Reelbox_M::Image1_MouseUp);
    connect(ImgExit, &PictureLabel::MouseDown, this, &Reelbox_M::ImgExit_MouseDown);
    connect(ImgExit, &PictureLabel::MouseUp, this, &Reelbox_M::ImgExit_MouseUp);
}

void Reelbox_M::CreateBottomPanel()
{
    Pic_B = new QWidget(this);
    Pic_B->setGeometry(0, 212, 233, PanelHeight);
    Pic_B->setStyleSheet(QStringLiteral("background: black;"));
    Pic_B->setAttribute(Qt::WA_StyledBackground);
    H1 = new dtVisualScrollBar(Pic_B);
    H1->setGeometry(0, 0, 225, 9);
    H1->ReadProperties(H1StoredProperties());
    // The bar's property messages are for whoever sets up a form; while a file
    // plays (a clip under half a second has no range) nobody is to be asked.
    H1->SetMessageFunction([](const QString &, const QString &) {});
    Pos_Time = NewTimeLabel(Pic_B, 0);
    lbl = new QLabel(QStringLiteral("/"), Pic_B);
    lbl->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lbl->setGeometry(44, 12, 7, 13);
    Total_Time = NewTimeLabel(Pic_B, 52);
    Rem_Time = NewTimeLabel(Pic_B, 104);
}

bool Reelbox_M::FullScreenMode() const
{
    return (B.PlaySource == 0 && B.Full1 == 1) || (B.PlaySource == 1 && B.Full2 == 1);
}

bool Reelbox_M::Form_Load()
{
    ShowPlaying();
    LoadFile();
    if (!graph_)
        return false;
    PlaceWindow();
    Dragging = 0;
    if (B.InPlayLoop == 0) {
        const QPoint cursor = QCursor::pos();
        B.ApiResult = 1;
        CursorX = static_cast<qint16>(cursor.x());
        CursorY = static_cast<qint16>(cursor.y());
        AnimateOpen(this, CursorX, CursorY);
    }
    QApplication::restoreOverrideCursor();
    if (unloading_) // the file ended or failed while the window opened
        return true;
    Timer1->start();
    return true;
}

void Reelbox_M::ShowPlaying()
{
    const QFileInfo file(B.PlayFile);
    lbl_msg->setText(QStringLiteral("Playing... ") + (file.exists() ? file.fileName() : QString()));
    lbl_msg->adjustSize();
}

void Reelbox_M::LoadFile()
{
    MediaFile = B.PlayFile;
    CleanUp();
    graph_ = std::make_unique<FilgraphManager>(engine_);
    // The picture is given its place before the file is rendered, so that the
    // engine can draw from the first frame, even before the window is shown.
    graph_->WindowStyle(ChildWindowStyle);
    graph_->Owner(Display);
    graph_->MessageDrain(Display);
    if (!graph_->RenderFile(MediaFile)) {
        CleanUp();
        return;
    }
    connect(graph_.get(), &FilgraphManager::EndOfStream, this, &Reelbox_M::StopAndUnload);
    connect(graph_.get(), &FilgraphManager::Failed, this, &Reelbox_M::StopAndUnload);
    if (FullScreenMode()) {
        const QSize picture = FullScreenVideoSize(ScreenRect().size());
        graph_->Width(picture.width());
        graph_->Height(picture.height());
    }
    VideoWidth = graph_->Width().value_or(VideoWidth);
    VideoHeight = graph_->Height().value_or(VideoHeight);
    LayOut();
    CorrectAspect();

    const double duration = graph_->Duration().value_or(0);
    H1->SetMax(static_cast<qint32>(RoundHalfEven(duration)));
    H1->SetSmallChange(static_cast<qint32>(RoundHalfEven(duration / 50)));
    SeekStep = SeekStepFor(duration);
    Total_Time->setText(FormatTime(duration));
    graph_->Run();
    graph_->CurrentPosition(0);
}

void Reelbox_M::LayOut()
{
    const int width = VideoWidth;
    setFixedSize(width, VideoHeight + TitleHeight + PanelHeight);
    Image1->setFixedWidth(width);
    ImgExit->move(width - 20, ImgExit->y());
    Display->setGeometry(0, TitleHeight, graph_->Width().value_or(VideoWidth), graph_->Height().value_or(VideoHeight));
    Pic_B->setGeometry(0, Display->y() + Display->height(), width, PanelHeight);
    H1->setFixedWidth(width);
}

void Reelbox_M::PlaceWindow()
{
    const QRect screen = ScreenRect();
    if (FullScreenMode()) {
        move(screen.topLeft());
        // Above panels and docks: the window manager lays a full-screen window on top.
        setWindowState(windowState() | Qt::WindowFullScreen);
        return;
    }
    move(screen.left() + (screen.width() - width()) / 2, screen.top() + (screen.height() - height()) / 3);
}

void Reelbox_M::CorrectAspect()
{
    if (!graph_)
        return;
    const QRect place = CorrectAspectRect(Display->width(), Display->height(), VideoWidth, VideoHeight);
    graph_->SetWindowPosition(place.left(), place.top(), place.width(), place.height());
}

void Reelbox_M::CleanUp()
{
    graph_.reset();
}
