// The DirectShow player window: its controls, the load and the layout.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "controls/seek_bar_form.h"
#include "controls/visual_scroll_bar.h"
#include "platform/media/filgraph_manager.h"
#include "player/player_rules.h"

#include <QLabel>
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

} // namespace

Reelbox_M::Reelbox_M(Reelbox_B &shared, PlaybackEngine &engine, QWidget *parent)
    : SkinnedPlayerWindow(shared, {233, 216, 3}, parent)
    , engine_(engine)
{
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
    H1->setAccessibleName(QStringLiteral("再生位置"));
    Pos_Time = NewTimeLabel(Pic_B, 0);
    lbl = new QLabel(QStringLiteral("/"), Pic_B);
    lbl->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lbl->setGeometry(44, 12, 7, 13);
    Total_Time = NewTimeLabel(Pic_B, 52);
    Rem_Time = NewTimeLabel(Pic_B, 104);
    // Screen readers read each time as its text, and what it is as its description.
    Pos_Time->setAccessibleDescription(QStringLiteral("再生位置"));
    Total_Time->setAccessibleDescription(QStringLiteral("長さ"));
    Rem_Time->setAccessibleDescription(QStringLiteral("残り時間"));
}

bool Reelbox_M::Form_Load()
{
    ShowPlaying();
    LoadFile();
    if (!graph_)
        return false;
    PlaceWindow();
    Dragging = 0;
    AnimateOpenFromCursor();
    if (Closed()) // the file ended or failed while the window opened
        return true;
    Timer1->start();
    return true;
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
    SetTitleWidth(width);
    Display->setGeometry(0, TitleHeight, graph_->Width().value_or(VideoWidth), graph_->Height().value_or(VideoHeight));
    Pic_B->setGeometry(0, Display->y() + Display->height(), width, PanelHeight);
    H1->setFixedWidth(width);
}

void Reelbox_M::PlaceWindow()
{
    const QRect screen = ScreenRect();
    if (FullScreenMode()) {
        EnterFullScreen();
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
