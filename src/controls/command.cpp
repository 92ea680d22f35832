// Command's construction, its properties and their persistence; the mouse,
// keys and focus are in command_input.cpp, the face in command_painting.cpp.

#include "controls/command.h"

#include "base/units.h"
#include "controls/accessible_controls.h"
#include "controls/property_bag.h"
#include "widgets/fonts.h"

#include <QLabel>
#include <QTimer>
#include <optional>

namespace {

const QString DefaultCaption = QStringLiteral("Command");
constexpr int HoverPollMilliseconds = 100;

// Indexed by Command::SkinFace.
const std::array<QString, 6> SkinPaths{
    QStringLiteral(":/skins/command_normal.png"),          QStringLiteral(":/skins/command_highlight.png"),
    QStringLiteral(":/skins/command_pressed.png"),         QStringLiteral(":/skins/command_disable.png"),
    QStringLiteral(":/skins/command_highlightselect.png"), QStringLiteral(":/skins/command_selected.png"),
};

// Stored property values as the control takes them; nullopt when unreadable.
std::optional<qint64> ToWhole(const QVariant &value, qint64 lowest, qint64 highest)
{
    bool ok = true;
    const qint64 whole = value.typeId() == QMetaType::Bool ? (value.toBool() ? -1 : 0) : value.toLongLong(&ok);
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
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(LblMsg->font()), QVariant::fromValue(AmbientFont()));
    bag.WriteProperty(QStringLiteral("FirstRun"), int(fields.FirstRun), 1);
    bag.WriteProperty(QStringLiteral("FontColour"), int(CaptionColour()), 0);
    bag.WriteProperty(QStringLiteral("Visible"), int(backgroundStyle), 1);
    RestoreNormal();
}

QSize Command::sizeHint() const
{
    return TwipsToPixels(QSize(1635, 375));
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
