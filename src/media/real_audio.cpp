#include "media/real_audio.h"

#include "media/real_audio_views.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

using Kind = RealAudio::InvokeKind;
using Result = std::optional<QVariant>;

// The members hosts call by dispatch identifier: one row per identifier and
// kind of call, naming the member it reaches.
struct DispatchMember
{
    qint32 dispid;
    Kind kind;
    const char *name;
    Result (*invoke)(RealAudio &control, const QVariant &argument);
};

// What a member gives: a value, an empty one (done, nothing to give), or
// none when it has nothing to tell (as a call that failed).
Result Done()
{
    return QVariant();
}
Result Pixels(std::optional<int> value)
{
    return value ? Result(*value) : std::nullopt;
}

const DispatchMember DispatchTable[] = {
    {102, Kind::PropertyGet, "Source", [](RealAudio &c, const QVariant &) -> Result { return c.Source(); }},
    {102, Kind::PropertyPut, "Source",
     [](RealAudio &c, const QVariant &source) {
         c.SetSource(source.toString());
         return Done();
     }},
    {257, Kind::Method, "DoPlay",
     [](RealAudio &c, const QVariant &) {
         c.DoPlay();
         return Done();
     }},
    {258, Kind::Method, "DoPause",
     [](RealAudio &c, const QVariant &) {
         c.DoPause();
         return Done();
     }},
    {265, Kind::PropertyGet, "ClipWidth", [](RealAudio &c, const QVariant &) { return Pixels(c.ClipWidth()); }},
    {266, Kind::PropertyGet, "ClipHeight", [](RealAudio &c, const QVariant &) { return Pixels(c.ClipHeight()); }},
    {291, Kind::Method, "KeepAspectRatio",
     [](RealAudio &c, const QVariant &) {
         c.KeepAspectRatio();
         return Done();
     }},
};

} // namespace

RealAudio::RealAudio(PlaybackEngine &engine, QWidget *parent)
    : QWidget(parent)
    , engine_(engine)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

RealAudio::~RealAudio()
{
    ReleasePicture();
    if (console_)
        console_->disconnect(this);
}

std::optional<QVariant> RealAudio::Invoke(qint32 dispid, InvokeKind kind, const QVariant &argument)
{
    for (const DispatchMember &member : DispatchTable)
        if (member.dispid == dispid && member.kind == kind)
            return member.invoke(*this, argument);
    return std::nullopt;
}

void RealAudio::SetControls(const QString &part)
{
    controls_ = part;
    ShowPart();
}

void RealAudio::SetConsole(const QString &name)
{
    consoleName_ = name;
    std::shared_ptr<RealAudioConsole> shared;
    if (!name.isEmpty())
        for (RealAudio *other : window()->findChildren<RealAudio *>())
            if (other != this && other->console_ && other->consoleName_ == name && &other->engine_ == &engine_)
                shared = other->console_;
    Join(shared ? shared : std::make_shared<RealAudioConsole>(engine_));
}

void RealAudio::SetBackgroundColor(const QString &colour)
{
    const QColor parsed(colour);
    if (!parsed.isValid())
        return;
    background_ = parsed;
    if (slider_)
        slider_->SetColor(background_);
    if (statusBar_)
        statusBar_->SetColor(background_);
    update();
}

RealAudioConsole &RealAudio::Player()
{
    if (!console_)
        Join(std::make_shared<RealAudioConsole>(engine_));
    return *console_;
}

void RealAudio::Join(std::shared_ptr<RealAudioConsole> console)
{
    if (console_)
        console_->disconnect(this);
    console_ = std::move(console);
    connect(console_.get(), &RealAudioConsole::PlayStateChange, this, &RealAudio::PlayStateChange,
            Qt::QueuedConnection);
    connect(console_.get(), &RealAudioConsole::ClipOpened, this, &RealAudio::ClipOpened, Qt::QueuedConnection);
    connect(console_.get(), &RealAudioConsole::ClipOpened, this, &RealAudio::PlacePicture);
    // A new clip's length shows at once, before the host lays itself out for it.
    connect(console_.get(), &RealAudioConsole::ClipOpened, this,
            [this] { ShowPosition(console_->Position(), console_->Length()); });
    connect(console_.get(), &RealAudioConsole::PlayStateChange, this, [this](qint32 state) {
        if (statusBar_)
            statusBar_->SetState(state);
    });
    connect(console_.get(), &RealAudioConsole::PositionChange, this, &RealAudio::ShowPosition);
    ShowPart();
}

void RealAudio::ShowPosition(double position, double length)
{
    if (slider_)
        slider_->SetPosition(position, length);
    if (statusBar_)
        statusBar_->SetPosition(position, length);
}

bool RealAudio::ShowsPart(const char *part) const
{
    return controls_.compare(QLatin1String(part), Qt::CaseInsensitive) == 0;
}

void RealAudio::ShowPart()
{
    delete slider_;
    slider_ = nullptr;
    delete statusBar_;
    statusBar_ = nullptr;
    if (!ShowsPart("imagewindow"))
        ReleasePicture();
    if (!console_)
        return; // shown once it belongs to a player
    RealAudioConsole &player = *console_;
    if (ShowsPart("imagewindow")) {
        TakePicture();
    } else if (ShowsPart("PositionSlider")) {
        slider_ = new RealPositionSlider(this);
        slider_->SetColor(background_);
        slider_->SetPosition(player.Position(), player.Length());
        connect(slider_, &RealPositionSlider::SeekRequested, this, [this](double seconds) { Player().Seek(seconds); });
    } else if (ShowsPart("StatusBar")) {
        statusBar_ = new RealStatusBar(this);
        statusBar_->SetColor(background_);
        statusBar_->SetState(player.PlayState());
        statusBar_->SetPosition(player.Position(), player.Length());
    }
    for (QWidget *view : {static_cast<QWidget *>(slider_), static_cast<QWidget *>(statusBar_)})
        if (view) {
            view->setGeometry(rect());
            view->show();
        }
}

void RealAudio::TakePicture()
{
    if (picture_)
        return;
    picture_ = engine_.VideoWidget();
    if (!picture_)
        return;
    picture_->hide();
    picture_->setParent(this);
    PlacePicture();
}

void RealAudio::ReleasePicture()
{
    // The engine keeps its picture (and its drawing set-up) for the next host.
    if (!picture_)
        return;
    picture_->hide();
    picture_->setParent(nullptr);
    picture_ = nullptr;
}

void RealAudio::PlacePicture()
{
    if (!picture_)
        return;
    const std::optional<QSize> clip = console_ ? console_->ClipSize() : std::nullopt;
    if (!clip) {
        picture_->hide(); // nothing to show yet, or a clip without video
        return;
    }
    QRect area = rect();
    if (keepAspect_) {
        const QSize fitted = clip->scaled(area.size(), Qt::KeepAspectRatio);
        area = QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    }
    picture_->setGeometry(area);
    picture_->show();
}

void RealAudio::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (QWidget *view : {static_cast<QWidget *>(slider_), static_cast<QWidget *>(statusBar_)})
        if (view)
            view->setGeometry(rect());
    PlacePicture();
}

void RealAudio::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), background_);
}

QString RealAudio::Source() const
{
    return console_ ? console_->Source() : QString();
}

void RealAudio::SetSource(const QString &source)
{
    Player().SetSource(source);
}

void RealAudio::StartAt(double seconds)
{
    Player().StartAt(seconds);
}

void RealAudio::DoPlay()
{
    Player().Play();
}

void RealAudio::DoPause()
{
    Player().Pause();
}

std::optional<int> RealAudio::ClipWidth() const
{
    const std::optional<QSize> size = console_ ? console_->ClipSize() : std::nullopt;
    return size ? std::optional(size->width()) : std::nullopt;
}

std::optional<int> RealAudio::ClipHeight() const
{
    const std::optional<QSize> size = console_ ? console_->ClipSize() : std::nullopt;
    return size ? std::optional(size->height()) : std::nullopt;
}

void RealAudio::KeepAspectRatio()
{
    keepAspect_ = true;
    PlacePicture();
}

std::optional<RealClip> RealAudio::CurrentClip() const
{
    return console_ ? console_->CurrentClip() : std::nullopt;
}

qint32 RealAudio::PlayState() const
{
    return console_ ? console_->PlayState() : RealStopped;
}
