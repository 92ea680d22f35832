// The DirectShow player window: its controls, the load and the layout.

#include "player/directshow_window.h"

#include "app/reelbox_b.h"
#include "controls/seek_bar_form.h"
#include "controls/visual_scroll_bar.h"
#include "media/filgraph_manager.h"
#include "player/player_chrome.h"
#include "player/player_rules.h"

#include <QLabel>
#include <QTimer>

namespace {

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
    connect(H1, &dtVisualScrollBar::ScrollEvent, this, &Reelbox_M::H1_Scroll);
}

void Reelbox_M::CreateBottomPanel()
{
    Pic_B = new QWidget(this);
    Pic_B->setGeometry(0, 212, 233, DirectShowPanelHeight);
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
    if (!graph_->RenderFile(MediaFile, B.PlayStart)) {
        CleanUp();
        return;
    }
    connect(graph_.get(), &FilgraphManager::EndOfStream, this, &Reelbox_M::StopAndUnload);
    connect(graph_.get(), &FilgraphManager::Failed, this, &Reelbox_M::StopAndUnload);
    connect(graph_.get(), &FilgraphManager::PictureChanged, this, &Reelbox_M::OnPictureChanged);
    SizeToPicture();
    ShowLength(graph_->Duration().value_or(0));
    graph_->Run();
}

// The picture's window at its size for this screen (the whole screen, or the
// picture scaled down to fit what panels leave of it), then the window
// around it. Without a picture the sizes stay as they were.
void Reelbox_M::SizeToPicture()
{
    if (FullScreenMode()) {
        const QSize picture = FullScreenVideoSize(ScreenRect().size());
        graph_->Width(picture.width());
        graph_->Height(picture.height());
    } else if (graph_->Width() && graph_->Height()) {
        const QSize picture(*graph_->Width(), *graph_->Height());
        const QSize fitted = FitPicture(picture, AvailableRect().size() - QSize(0, DirectShowChromeHeight));
        if (fitted != picture) {
            graph_->Width(fitted.width());
            graph_->Height(fitted.height());
        }
    }
    VideoWidth = graph_->Width().value_or(VideoWidth);
    VideoHeight = graph_->Height().value_or(VideoHeight);
    LayOut();
    CorrectAspect();
}

void Reelbox_M::LayOut()
{
    // The video area spans the window, which the strip and the times may make
    // wider than the picture: CorrectAspect centres the picture in it.
    const int width = FullScreenMode() ? VideoWidth : qMax(VideoWidth, ChromeWidth());
    setFixedSize(width, VideoHeight + DirectShowChromeHeight);
    SetTitleWidth(width);
    Display->setGeometry(0, TitleHeight, width, graph_->Height().value_or(VideoHeight));
    Pic_B->setGeometry(0, Display->y() + Display->height(), width, DirectShowPanelHeight);
    H1->setFixedWidth(width);
}

int Reelbox_M::ChromeWidth() const
{
    return qMax(TitleChromeWidth(), Rem_Time->geometry().right() + 1);
}

// Length, bar range, small change and arrow step for a length that may
// change while the file plays; what did not change is left alone (the poll
// comes here whenever the length moves).
void Reelbox_M::ShowLength(double duration)
{
    shownLength_ = duration;
    const auto max = static_cast<qint32>(RoundHalfEven(duration));
    if (max != H1->Max())
        H1->SetMax(max); // the bar keeps its range for a length under half a second
    const auto smallChange = static_cast<qint32>(RoundHalfEven(duration / 50));
    if (smallChange != H1->SmallChange())
        H1->SetSmallChange(smallChange);
    SeekStep = SeekStepFor(duration);
    SetLabelText(Total_Time, FormatTime(duration));
}

// A picture whose size came only after the window was laid out, or changed.
void Reelbox_M::OnPictureChanged()
{
    SizeToPicture();
    PlaceWindow();
}

void Reelbox_M::PlaceWindow()
{
    if (FullScreenMode()) {
        EnterFullScreen();
        return;
    }
    // Centred across the room panels leave, a third of the free height down.
    const QRect area = AvailableRect();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 3);
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
