#include "player/real_audio_window.h"

#include "app/reelbox_b.h"
#include "app/settings_keys.h"
#include "base/file_kinds.h"
#include "base/units.h"
#include "desktop/window_system.h"
#include "media/real_audio.h"
#include "media/real_audio_views.h"
#include "player/player_chrome.h"
#include "player/player_rules.h"
#include "player/real_audio_rules.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

const QString Section = SettingsSection;
const QString TopKey = RealWindowTopKey;
const QString LeftKey = RealWindowLeftKey;

// The control's members, by dispatch identifier.
constexpr qint32 Source = 102, Play = 257, PauseCall = 258, PictureWidth = 265, PictureHeight = 266, PictureSet = 291;

RealAudio *NewPlayerControl(PlaybackEngine &engine, QWidget *window, const char *part, QRect place)
{
    auto *control = new RealAudio(engine, window);
    control->setGeometry(place);
    control->SetControls(QLatin1String(part));
    control->SetConsole(QStringLiteral("player"));
    control->SetBackgroundColor(QStringLiteral("#000000"));
    return control;
}

QList<QRect> ScreenRects()
{
    QList<QRect> rects;
    for (const QScreen *screen : QGuiApplication::screens())
        rects << screen->geometry();
    return rects;
}

} // namespace

Reelbox_R::Reelbox_R(Reelbox_B &shared, PlaybackEngine &engine, QWidget *parent)
    : SkinnedPlayerWindow(shared, {209, 188, 4}, parent)
{
    // Modal from the start: a clip can lay the window out, and show it, while
    // its opening animation still runs.
    setWindowModality(Qt::ApplicationModal);
    RealSC = NewPlayerControl(engine, this, "imagewindow", {0, TitleHeight, 209, 153});
    Real_Pos = NewPlayerControl(engine, this, "PositionSlider", {0, 172, 209, RealSliderHeight});
    Realmain = NewPlayerControl(engine, this, "StatusBar", {0, 192, 209, RealStatusBarHeight});
    lbl_msg->raise();
    connect(Realmain, &RealAudio::ClipOpened, this, &Reelbox_R::Realmain_OnClipOpened);
    connect(Realmain, &RealAudio::PlayStateChange, this, &Reelbox_R::Realmain_OnPlayStateChange);
}

void Reelbox_R::Form_Load()
{
    setFixedSize(LoadingWindowSize());
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::black));
    Realmain->PropertyPut(Source, QStringLiteral("file://") + B.PlayFile);
    if (!IsMetafileName(B.PlayFile))
        Realmain->StartAt(B.PlayStart); // a metafile's place is kept in no single clip
    Realmain->Call(Play);
    RealSC->hide();
    Realmain->hide();
    Real_Pos->hide();
    PlaceAtLoad();
    Dragging = 0;
    AnimateOpenFromCursor();
}

void Reelbox_R::PlaceAtLoad()
{
    if (FullScreenMode()) {
        move(ScreenRect().topLeft());
        return;
    }
    // A stored position is used only where the window would be seen: judged
    // here for the strip, and again for the window laid out (PlaceLaidOut).
    // The keys themselves stay as they are until the window closes.
    B.IniValue = ReadIniString(Section, TopKey, B.SettingsFile());
    storedTop_ = B.IniValue;
    B.IniValue = ReadIniString(Section, LeftKey, B.SettingsFile());
    storedLeft_ = B.IniValue;
    placed_ = StartPosition(storedTop_, storedLeft_, size(), AvailableRect(), ScreenRects());
    move(placed_);
}

void Reelbox_R::Realmain_OnClipOpened(const QString &, const QString &)
{
    if (!Closed())
        LayOut();
}

void Reelbox_R::LayOut()
{
    clipOpened_ = true;
    QSize picture = RealSC->size(); // what cannot be read keeps its size
    if (FullScreenMode()) {
        picture = FullScreenPictureSize(ScreenRect().size());
    } else {
        if (const std::optional<QVariant> width = Realmain->PropertyGet(PictureWidth))
            picture.setWidth(width->toInt());
        if (const std::optional<QVariant> height = Realmain->PropertyGet(PictureHeight))
            picture.setHeight(height->toInt());
    }
    if (!FullScreenMode())
        picture = FitPicture(picture, AvailableRect().size() - QSize(0, RealAudioChromeHeight));
    RealSC->resize(picture);
    RealSC->Call(PictureSet);
    const RealAudioLayout layout = LayOutForPicture(picture, FullScreenMode() ? 0 : ChromeWidth());
    RealSC->move(layout.picture.topLeft());
    setFixedSize(layout.window);
    Real_Pos->setGeometry(layout.slider);
    Realmain->setGeometry(layout.statusBar);
    SetTitleWidth(layout.window.width());
    for (RealAudio *control : {RealSC, Realmain, Real_Pos})
        control->show();
    if (FullScreenMode())
        EnterFullScreen();
    else
        PlaceLaidOut();
    show();
}

int Reelbox_R::ChromeWidth() const
{
    const RealStatusBar *status = Realmain->StatusBar();
    return qMax(TitleChromeWidth(), status ? status->WidthNeeded() : 0);
}

// The place the window chose at load, chosen again for the size it has now:
// a stored place where this window stays visible (the strip said little of
// that), else centred for its size. A window the user has moved stays.
void Reelbox_R::PlaceLaidOut()
{
    if (pos() != placed_)
        return;
    placed_ = StartPosition(storedTop_, storedLeft_, size(), AvailableRect(), ScreenRects());
    move(placed_);
}

void Reelbox_R::Realmain_OnPlayStateChange(qint32 state)
{
    if (Closed())
        return;
    switch (state) {
    case 0:
        SetMessage(QStringLiteral("Stop"));
        playedNothing_ = !clipOpened_;
        Unload();
        break;
    case 1: SetMessage(QStringLiteral("Connecting...")); break;
    case 2: SetMessage(QStringLiteral("Buffering...")); break;
    case 3: ShowPlaying(); break;
    case 4: SetMessage(PauseText); break;
    case 5: SetMessage(QStringLiteral("Seeking")); break;
    default: break;
    }
}

void Reelbox_R::Form_KeyDown(int key)
{
    CommonKeyDown(key); // no seeking from the keyboard: the slider seeks
}

bool Reelbox_R::RemoteCanSeek() const
{
    return !Closed() && Real_Pos->Slider() && Real_Pos->Slider()->Length() > 0;
}

void Reelbox_R::RemoteSeek(double seconds)
{
    if (RemoteCanSeek())
        Real_Pos->Slider()->Seek(seconds);
}

RemoteTrack Reelbox_R::RemoteNowPlaying() const
{
    // Clip 0 is the file itself, before its first clip opens and when it
    // names no other; a metafile's clips are 1 and on.
    const std::optional<RealClip> clip = Realmain->CurrentClip();
    if (!clip || clip->source == B.PlayFile)
        return SkinnedPlayerWindow::RemoteNowPlaying();
    return {clip->source, clip->title, static_cast<int>(clip->index) + 1};
}

void Reelbox_R::ResumePlayer()
{
    Realmain->Call(Play);
}

void Reelbox_R::PausePlayer()
{
    Realmain->Call(PauseCall);
}

bool Reelbox_R::StoresPosition() const
{
    // Where the window system keeps window positions to itself, the place read
    // back is made up: the user's last real one is worth more.
    return !FullScreenMode() && ProgramsPlaceWindows();
}

void Reelbox_R::OnUnload()
{
    if (!StoresPosition())
        return;
    WriteIniString(Section, TopKey, IniNumber(PixelsToTwips(y())), B.SettingsFile());
    WriteIniString(Section, LeftKey, IniNumber(PixelsToTwips(x())), B.SettingsFile());
}
