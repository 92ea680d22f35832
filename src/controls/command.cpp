// Command's construction, its properties and their persistence, and its
// answers to the mouse, keys and focus; the face is in command_painting.cpp.

#include "controls/command.h"

#include "controls/accessible_controls.h"
#include "controls/property_bag.h"
#include "widgets/fonts.h"
#include "base/units.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <optional>

namespace {

const QString DefaultCaption = QStringLiteral("Command");
constexpr int HoverPollMilliseconds = 100;

// Indexed by Command::SkinFace.
const std::array<QString, 6> SkinPaths{
    QStringLiteral(":/skins/command_normal.png"),
    QStringLiteral(":/skins/command_highlight.png"),
    QStringLiteral(":/skins/command_pressed.png"),
    QStringLiteral(":/skins/command_disable.png"),
    QStringLiteral(":/skins/command_highlightselect.png"),
    QStringLiteral(":/skins/command_selected.png"),
};

// Stored property values as the control takes them; nullopt when unreadable.
std::optional<qint64> ToWhole(const QVariant &value, qint64 lowest, qint64 highest)
{
    bool ok = true;
    const qint64 whole = value.typeId() == QMetaType::Bool ? (value.toBool() ? -1 : 0)
                                                           : value.toLongLong(&ok);
    if (!ok || whole < lowest || whole > highest)
        return std::nullopt;
    return whole;
}

std::optional<QFont> ToFont(const QVariant &value)
{
    if (value.typeId() == QMetaType::QFont)
        return value.value<QFont>();
    QFont font;
    if (value.typeId() == QMetaType::QString && font.fromString(value.toString()))
        return font;
    return std::nullopt;
}

} // namespace

Command::Command(QWidget *parent)
    : QWidget(parent)
    , LblMsg(new QLabel(DefaultCaption, this))
    , TmrMouse(new QTimer(this))
{
    for (size_t face = 0; face < skins.size(); ++face)
        skins[face].load(SkinPaths[face]); // a missing picture stays null and draws nothing

    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setTextFormat(Qt::PlainText);
    LblMsg->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    LblMsg->setWordWrap(false);
    LblMsg->setAutoFillBackground(false);
    LblMsg->setAttribute(Qt::WA_TransparentForMouseEvents);
    LblMsg->setGeometry(TwipsRect(0, 90, 1635, 195));
    SetCaptionColour(0);

    TmrMouse->setObjectName(QStringLiteral("TmrMouse"));
    TmrMouse->setInterval(HoverPollMilliseconds);
    connect(TmrMouse, &QTimer::timeout, this, &Command::TmrMouse_Timer);

    setMouseTracking(true);
    UpdateFocusPolicy();
    resize(sizeHint());
    ShowEnabledState();
    ExposeToScreenReaders(this);
}

void Command::Initialize()
{
    fields.ButtonState = 1;
    hoverPollArmed = true;
    UpdateHoverPoll();
}

quint8 Command::VisibleProperty()
{
    if (backgroundStyle == 0)
        return 0;
    RestoreNormal();
    return 255;
}

void Command::SetVisibleProperty(quint8 value)
{
    backgroundStyle = value != 0 ? 1 : 0;
    update();
    if (value != 0)
        RestoreNormal();
    emit PropertyChanged(QStringLiteral("Visible"));
}

quint32 Command::FontColour()
{
    const quint32 colour = CaptionColour();
    RestoreNormal();
    return colour;
}

void Command::SetFontColour(quint32 colour)
{
    const bool taken = SetCaptionColour(colour);
    RestoreNormal();
    if (taken)
        emit PropertyChanged(QStringLiteral("FontColour"));
}

bool Command::EnabledProperty()
{
    if (fields.FirstRun == 0) {
        RestoreNormal();
        fields.FirstRun = 1;
        fields.EnabledFlag = true;
        UpdateFocusPolicy();
    }
    const bool enabled = fields.EnabledFlag;
    ShowEnabledState();
    return enabled;
}

void Command::SetEnabledProperty(bool value)
{
    fields.EnabledFlag = value;
    UpdateFocusPolicy();
    UpdateHoverPoll();
    emit PropertyChanged(QStringLiteral("Enabled"));
    ShowEnabledState();
}

QString Command::Caption() const
{
    return LblMsg->text();
}

void Command::SetCaption(const QString &text)
{
    LblMsg->setText(text);
    emit PropertyChanged(QStringLiteral("Caption"));
}

QFont Command::FontProperty() const
{
    return LblMsg->font();
}

void Command::SetFontProperty(const QFont &font)
{
    LblMsg->setFont(font);
    emit PropertyChanged(QStringLiteral("Font"));
}

void Command::ReadProperties(const PropertyBag &bag)
{
    if (const auto enabled = PropertyTruth(bag.ReadProperty(QStringLiteral("Enabled"), true))) {
        fields.EnabledFlag = *enabled;
        UpdateFocusPolicy();
    }
    LblMsg->setText(bag.ReadProperty(QStringLiteral("Caption"), DefaultCaption).toString());
    if (const auto font = ToFont(bag.ReadProperty(QStringLiteral("Font"), QVariant::fromValue(AmbientFont()))))
        LblMsg->setFont(*font);
    if (const auto firstRun = ToWhole(bag.ReadProperty(QStringLiteral("FirstRun"), 1), 0, 255))
        fields.FirstRun = quint8(*firstRun);
    if (const auto colour = ToWhole(bag.ReadProperty(QStringLiteral("FontColour"), 0), 0, 0xFFFFFF))
        SetCaptionColour(quint32(*colour));
    if (const auto style = ToWhole(bag.ReadProperty(QStringLiteral("Visible"), 1), 0, 1))
        backgroundStyle = qint16(*style);
    update();
    RestoreNormal();
}

void Command::WriteProperties(PropertyBag &bag)
{
    bag.WriteProperty(QStringLiteral("Enabled"), fields.EnabledFlag, true);
    bag.WriteProperty(QStringLiteral("Caption"), LblMsg->text(), DefaultCaption);
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(LblMsg->font()),
                      QVariant::fromValue(AmbientFont()));
    bag.WriteProperty(QStringLiteral("FirstRun"), int(fields.FirstRun), 1);
    bag.WriteProperty(QStringLiteral("FontColour"), int(CaptionColour()), 0);
    bag.WriteProperty(QStringLiteral("Visible"), int(backgroundStyle), 1);
    RestoreNormal();
}

void Command::TmrMouse_Timer()
{
    // The caption is transparent for the mouse, so widgetAt() normally answers
    // this control over it; the label is named as well to be safe.
    const QWidget *underCursor = QApplication::widgetAt(QCursor::pos());
    if (underCursor != this && underCursor != LblMsg)
        MouseLeave();
}

QSize Command::sizeHint() const
{
    return TwipsToPixels(QSize(1635, 375));
}

void Command::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    PointerOver();
}

void Command::mouseMoveEvent(QMouseEvent *event)
{
    // While a button is held the moves keep coming when the pointer is off the
    // control; only moves over it count as hovering.
    if (rect().contains(event->position().toPoint()))
        PointerOver();
}

// The pointer is over the control: it arrived (the window under a resting
// pointer gets an arrival and no move when a window over it closes) or moved.
void Command::PointerOver()
{
    if (!fields.EnabledFlag)
        return;
    if (fields.ButtonState == 1) {
        fields.ButtonState = 2;
        DrawFace(HighLight);
    } else if (fields.ButtonState == 3 && !fields.ButtonHeld) {
        fields.ButtonState = 4;
        DrawFace(HighLightSelect);
    }
}

void Command::mousePressEvent(QMouseEvent *event)
{
    if (!fields.EnabledFlag)
        return;
    // A press is the pointer over the control, also where no arrival or move
    // said so (it came while the control was disabled or covered): a focused
    // control clicks on its release.
    if (hoverPollArmed && fields.ButtonState == 3) {
        fields.ButtonState = 4;
        if (event->button() != Qt::LeftButton)
            DrawFace(HighLightSelect);
    }
    if (event->button() != Qt::LeftButton)
        return;
    fields.ButtonHeld = true;
    DrawFace(Pressed);
}

void Command::mouseReleaseEvent(QMouseEvent *event)
{
    if (!fields.EnabledFlag)
        return;
    if (event->button() == Qt::LeftButton) {
        fields.ButtonHeld = false;
        if (fields.ButtonState == 2)
            DrawFace(Normal);
        if (fields.ButtonState == 4)
            DrawFace(HighLightSelect);
    }
    // A release off the control is never a click, however soon after the
    // press slid off it; the pointer has left.
    if (!rect().contains(event->position().toPoint())) {
        MouseLeave();
        return;
    }
    // A press dragged off a focused control ends in state 3: no Click.
    if (fields.ButtonState != 3)
        emit Click();
}

// The state follows the focus whether the control is enabled or not: a
// control that disables itself while it holds the focus (ﾘｽﾄから削除 removing
// the last selected entry) and loses it meanwhile must not take its next
// press for gaining the focus. A disabled control keeps its Disable face.
void Command::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    const bool stateShowsFocus = fields.ButtonState == 3 || fields.ButtonState == 4;
    if (IsWindowSwitch(event) && stateShowsFocus)
        return;
    if (fields.ButtonState != 2)
        MoveTo(3, Selected);
    else
        MoveTo(4, Pressed);
}

void Command::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    spaceHeld = false;
    if (IsWindowSwitch(event) || fields.ButtonState == 1)
        return;
    MoveTo(1, Normal);
}

void Command::MoveTo(quint8 state, SkinFace face)
{
    fields.ButtonState = state;
    if (fields.EnabledFlag)
        DrawFace(face);
}

// Space (on release) and Return/Enter click a focused, enabled button, as on
// any push button; they leave the face alone. Other keys go to the host.
void Command::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (!fields.EnabledFlag || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    if (key == Qt::Key_Space)
        spaceHeld = true;
    else
        emit Click();
}

// Space clicks only when its press began here: a release whose press went to a
// window that has closed since (a player stopped with Space) must not click.
void Command::keyReleaseEvent(QKeyEvent *event)
{
    if (!fields.EnabledFlag || event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (event->isAutoRepeat() || !spaceHeld)
        return;
    spaceHeld = false;
    emit Click();
}

// The poll can only end a hover, so it runs only while one is shown (from the
// pointer's arrival to its leaving) and the control can react. A row of
// buttons at rest then costs no wake-ups and no pointer queries at all.
void Command::UpdateHoverPoll()
{
    const bool hovered = fields.ButtonState == 2 || fields.ButtonState == 4;
    if (hoverPollArmed && hovered && fields.EnabledFlag) {
        if (!TmrMouse->isActive())
            TmrMouse->start(HoverPollMilliseconds);
    } else {
        TmrMouse->stop();
    }
}

void Command::MouseLeave()
{
    if (!fields.EnabledFlag)
        return;
    if (fields.ButtonState == 2) {
        fields.ButtonState = 1;
        DrawFace(Normal);
    } else if (fields.ButtonState == 4) {
        fields.ButtonState = 3;
        DrawFace(Selected);
    }
}

void Command::ShowEnabledState()
{
    DrawFace(fields.EnabledFlag ? Normal : Disable);
    LblMsg->setEnabled(fields.EnabledFlag);
}

void Command::RestoreNormal()
{
    if (!fields.EnabledFlag)
        return;
    LblMsg->setEnabled(true);
    if (fields.FirstRun == 0)
        SetCaptionColour(0);
    DrawFace(Normal);
}

bool Command::SetCaptionColour(quint32 colour)
{
    if (colour > 0xFFFFFF)
        return false;
    const QColor shown(int(colour & 0xFF), int(colour >> 8) & 0xFF, int(colour >> 16) & 0xFF);
    QPalette palette = LblMsg->palette();
    // The disabled group is left alone so that a disabled caption greys.
    palette.setColor(QPalette::Active, QPalette::WindowText, shown);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, shown);
    LblMsg->setPalette(palette);
    return true;
}

quint32 Command::CaptionColour() const
{
    const QColor shown = LblMsg->palette().color(QPalette::Active, QPalette::WindowText);
    return quint32(shown.red()) | quint32(shown.green()) << 8 | quint32(shown.blue()) << 16;
}

// The host's font: the parent widget's, or the design font for a lone control.
QFont Command::AmbientFont() const
{
    return parentWidget() ? parentWidget()->font() : DesignFont();
}

// Only an enabled button takes the focus. A button disabled while it has the
// focus keeps it (its ButtonState stays true to the focus for when it is
// enabled again); tabbing or clicking elsewhere moves it on as usual.
void Command::UpdateFocusPolicy()
{
    setFocusPolicy(fields.EnabledFlag ? Qt::StrongFocus : Qt::NoFocus);
}

// Focus that leaves or returns with the whole window (another window or a
// modal dialog activated, a popup opened) does not move the button's state:
// it still holds the focus within its window. The one exception is a button
// focused while its window was inactive: its first focus arrives this way.
bool Command::IsWindowSwitch(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}
