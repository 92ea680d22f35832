// dtVisualScrollBar's construction, its properties, their persistence and the
// messages that refuse a value; the layout of its boxes is in
// visual_scroll_bar_layout.cpp, its answers to the mouse in
// visual_scroll_bar_input.cpp.

#include "controls/visual_scroll_bar.h"

#include "base/units.h"
#include "controls/accessible_controls.h"
#include "controls/property_bag.h"
#include "controls/scroll_bar_geometry.h"
#include "controls/scroll_bar_picture_box.h"
#include "widgets/message_box.h"
#include "widgets/picture_label.h"

#include <QImage>
#include <QLocale>
#include <limits>

using namespace ScrollBarGeometry;

namespace {

constexpr qint32 StepLimit = 32767;
constexpr qint64 LargestDifference = std::numeric_limits<qint32>::max();
constexpr quint32 DefaultBackColor = 0xE0E0E0;
constexpr double StoredMaxDefault = 2147483647.0;

const QString ErrorTitle = QStringLiteral("Error");
const QString InvalidValueMessage = QStringLiteral("Invalid property value");
const QString MaxNotAboveMinMessage =
    QStringLiteral("Invalid property value. Max property must be larger than Min property.");
const QString DifferenceMessage =
    QStringLiteral("Invalid property value. Difference between Min and Max values cannot exceed ");

QColor ToQColor(quint32 colour)
{
    return QColor(int(colour & 0xFF), int(colour >> 8) & 0xFF, int(colour >> 16) & 0xFF);
}

quint32 FromQColor(const QColor &colour)
{
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

// Stored values as the control takes them; nullopt when unreadable.
std::optional<qint32> ToWhole(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? ToInt(number) : std::nullopt;
}

std::optional<quint32> ToColour(const QVariant &value)
{
    const auto whole = ToWhole(value);
    if (!whole || *whole < 0 || *whole > 0xFFFFFF)
        return std::nullopt;
    return quint32(*whole);
}

// The outer nullopt: unreadable. A missing key reads as no picture at all.
std::optional<ScrollBarPicture> ToPicture(const QVariant &value)
{
    if (!value.isValid())
        return ScrollBarPicture();
    if (value.typeId() == QMetaType::QPixmap)
        return ScrollBarPicture(value.value<QPixmap>());
    if (value.typeId() == QMetaType::QImage)
        return ScrollBarPicture(QPixmap::fromImage(value.value<QImage>()));
    return std::nullopt;
}

QVariant FromPicture(const ScrollBarPicture &picture)
{
    return picture ? QVariant::fromValue(*picture) : QVariant();
}

} // namespace

QString GroupedThousands(qint64 number, const QLocale &locale)
{
    const QString digits = QString::number(number < 0 ? -number : number);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += locale.groupSeparator();
        grouped += digits[i];
    }
    return number < 0 ? QLatin1Char('-') + grouped : grouped;
}

dtVisualScrollBar::dtVisualScrollBar(QWidget *parent)
    : QWidget(parent)
    , picBG(new ScrollBarPictureBox(QStringLiteral("picBG"), this))
    , picTHUMB(new ScrollBarPictureBox(QStringLiteral("picTHUMB"), this))
    , picUP(new ScrollBarPictureBox(QStringLiteral("picUP"), this))
    , picDN(new ScrollBarPictureBox(QStringLiteral("picDN"), this))
    , picLeft(new ScrollBarPictureBox(QStringLiteral("picLeft"), this))
    , picRight(new ScrollBarPictureBox(QStringLiteral("picRight"), this))
    , showMessage([this](const QString &text, const QString &title) {
        ShowMessageBox(this, text, MessageBoxStyle::Critical | MessageBoxStyle::OkOnly, title);
    })
{
    picBG->SetAutoSize(false);
    picBG->SetBackground(ToQColor(DefaultBackColor));
    picTHUMB->SetPicture(SkinPicture(QStringLiteral("scroll_thumb")));
    picUP->SetPicture(SkinPicture(QStringLiteral("scroll_up")));
    picDN->SetPicture(SkinPicture(QStringLiteral("scroll_down")));
    picLeft->SetPicture(SkinPicture(QStringLiteral("scroll_left")));
    picRight->SetPicture(SkinPicture(QStringLiteral("scroll_right")));
    // The arrows wait for the first layout to know which pair to show.
    for (ScrollBarPictureBox *arrow : {picUP, picDN, picLeft, picRight})
        arrow->hide();

    picBG->mouseDown = [this](QPointF position) { picBG_MouseDown(position); };
    picUP->click = [this] { picUP_Click(); };
    picDN->click = [this] { picDN_Click(); };
    picLeft->click = [this] { picLeft_Click(); };
    picRight->click = [this] { picRight_Click(); };
    picTHUMB->mouseDown = [this](QPointF position) { picTHUMB_MouseDown(position); };
    picTHUMB->mouseMove = [this](QPointF position) { picTHUMB_MouseMove(position); };
    picTHUMB->mouseUp = [this] { picTHUMB_MouseUp(); };
    ExposeToScreenReaders(this);
}

dtVisualScrollBar::~dtVisualScrollBar() = default;

void dtVisualScrollBar::SetAutoSize(bool value)
{
    fields.AutoSize = value;
    picBG->SetAutoSize(value);
    FullLayout();
    emit PropertyChanged(QStringLiteral("AutoSize"));
}

void dtVisualScrollBar::SetButtonsVisible(bool value)
{
    fields.ButtonsVisible = value;
    for (ScrollBarPictureBox *arrow : {picUP, picDN, picLeft, picRight})
        arrow->hide();
    if (value) {
        BackArrow()->show();
        ForwardArrow()->show();
    }
    FullLayout();
    emit PropertyChanged(QStringLiteral("ButtonsVisible"));
}

void dtVisualScrollBar::SetValue(qint32 value)
{
    fields.Value = ClampValue(value, fields.Min, fields.Max);
    PlaceThumb();
    emit Change();
    emit PropertyChanged(QStringLiteral("Value"));
}

void dtVisualScrollBar::SetSmallChange(qint32 value)
{
    fields.SmallChange = value >= 1 && value <= StepLimit ? value : 1;
    emit PropertyChanged(QStringLiteral("SmallChange"));
}

void dtVisualScrollBar::SetLargeChange(qint32 value)
{
    if (value >= 1 && value <= StepLimit) {
        fields.LargeChange = value;
    } else {
        ShowMessage(InvalidValueMessage);
        fields.LargeChange = 1;
    }
    emit PropertyChanged(QStringLiteral("LargeChange"));
}

void dtVisualScrollBar::SetThumbAlignment(qint32 value)
{
    fields.ThumbAlignment = AlignmentForOrientation(value, fields.Orientation);
    FullLayout();
}

quint32 dtVisualScrollBar::BackColor() const
{
    return FromQColor(picBG->Background());
}

void dtVisualScrollBar::SetBackColor(quint32 colour)
{
    if (colour > 0xFFFFFF)
        return;
    picBG->SetBackground(ToQColor(colour));
    FullLayout();
}

void dtVisualScrollBar::SetOrientation(qint32 value)
{
    fields.Orientation = value;
    fields.ThumbAlignment = AlignmentForOrientation(fields.ThumbAlignment, value);
    // The new form's arrows are shown even with ButtonsVisible False; the
    // layout then parks them outside the control.
    picUP->setVisible(value != 0);
    picDN->setVisible(value != 0);
    picRight->setVisible(value == 0);
    picLeft->setVisible(value == 0);
    FullLayout();
}

ScrollBarPicture dtVisualScrollBar::PictureBackground() const
{
    return picBG->Picture();
}
ScrollBarPicture dtVisualScrollBar::PictureThumb() const
{
    return picTHUMB->Picture();
}
ScrollBarPicture dtVisualScrollBar::PictureUp() const
{
    return picUP->Picture();
}
ScrollBarPicture dtVisualScrollBar::PictureRight() const
{
    return picRight->Picture();
}
ScrollBarPicture dtVisualScrollBar::PictureLeft() const
{
    return picLeft->Picture();
}
ScrollBarPicture dtVisualScrollBar::PictureDown() const
{
    return picDN->Picture();
}

void dtVisualScrollBar::SetPictureBackground(const ScrollBarPicture &picture)
{
    SetPicture(picBG, picture, PictureRole::Track, QStringLiteral("PictureBackground"));
}

void dtVisualScrollBar::SetPictureThumb(const ScrollBarPicture &picture)
{
    SetPicture(picTHUMB, picture, PictureRole::KeepsSize, QStringLiteral("PictureThumb"));
}

void dtVisualScrollBar::SetPictureUp(const ScrollBarPicture &picture)
{
    SetPicture(picUP, picture, PictureRole::KeepsSize, QStringLiteral("PictureUp"));
}

void dtVisualScrollBar::SetPictureRight(const ScrollBarPicture &picture)
{
    SetPicture(picRight, picture, PictureRole::KeepsSize, QStringLiteral("PictureRight"));
}

void dtVisualScrollBar::SetPictureLeft(const ScrollBarPicture &picture)
{
    SetPicture(picLeft, picture, PictureRole::Collapses, QStringLiteral("PictureLeft"));
}

void dtVisualScrollBar::SetPictureDown(const ScrollBarPicture &picture)
{
    SetPicture(picDN, picture, PictureRole::Collapses, QStringLiteral("PictureDown"));
}

void dtVisualScrollBar::SetMin(qint32 value)
{
    if (qint64(fields.Max) - value > LargestDifference) {
        ShowMessage(DifferenceMessage + GroupedThousands(LargestDifference, QLocale::system()));
        return;
    }
    fields.Min = value;
    SetValue(fields.Value < fields.Min ? fields.Min : fields.Value);
    FullLayout();
    emit PropertyChanged(QStringLiteral("Min"));
}

void dtVisualScrollBar::SetMax(qint32 value)
{
    if (value <= fields.Min) {
        ShowMessage(MaxNotAboveMinMessage);
        return;
    }
    if (qint64(value) - fields.Min > LargestDifference) {
        ShowMessage(DifferenceMessage + QString::number(LargestDifference));
        return;
    }
    fields.Max = value;
    SetValue(fields.Max < fields.Value ? fields.Max : fields.Value);
    FullLayout();
    emit PropertyChanged(QStringLiteral("Max"));
}

bool dtVisualScrollBar::EnabledProperty() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void dtVisualScrollBar::SetEnabledProperty(bool value)
{
    setEnabled(value);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void dtVisualScrollBar::ReadProperties(const PropertyBag &bag)
{
    fields.FirstLayoutPending = false;
    const auto read = [&bag](const char *key, const QVariant &defaultValue) {
        return bag.ReadProperty(QLatin1String(key), defaultValue);
    };
    const auto readPicture = [&](const char *key, void (dtVisualScrollBar::*setter)(const ScrollBarPicture &)) {
        if (const auto picture = ToPicture(read(key, QVariant())))
            (this->*setter)(*picture);
    };

    if (const auto max = ToWhole(read("Max", StoredMaxDefault)))
        fields.Max = *max;
    if (const auto min = ToWhole(read("Min", 0)))
        fields.Min = *min;
    if (const auto visible = PropertyTruth(read("ButtonsVisible", true)))
        fields.ButtonsVisible = *visible;
    if (const auto orientation = ToWhole(read("Orientation", 1)))
        fields.Orientation = *orientation;
    if (const auto alignment = ToWhole(read("ThumbAlignment", 0)))
        fields.ThumbAlignment = *alignment;
    readPicture("PictureBackground", &dtVisualScrollBar::SetPictureBackground);
    readPicture("PictureUp", &dtVisualScrollBar::SetPictureUp);
    readPicture("PictureDown", &dtVisualScrollBar::SetPictureDown);
    readPicture("PictureRight", &dtVisualScrollBar::SetPictureRight);
    readPicture("PictureLeft", &dtVisualScrollBar::SetPictureLeft);
    readPicture("PictureThumb", &dtVisualScrollBar::SetPictureThumb);
    if (const auto value = ToWhole(read("Value", 0)))
        fields.Value = *value;
    if (const auto colour = ToColour(read("BackColor", DefaultBackColor)))
        picBG->SetBackground(ToQColor(*colour));
    if (const auto step = ToWhole(read("LargeChange", 10)))
        fields.LargeChange = *step;
    if (const auto step = ToWhole(read("SmallChange", 1)))
        fields.SmallChange = *step;
    if (const auto autoSize = PropertyTruth(read("AutoSize", false)))
        fields.AutoSize = *autoSize;
    if (const auto enabled = PropertyTruth(read("Enabled", true)))
        setEnabled(*enabled);
    FullLayout();
}

void dtVisualScrollBar::WriteProperties(PropertyBag &bag) const
{
    const auto write = [&bag](const char *key, const QVariant &value, const QVariant &defaultValue) {
        bag.WriteProperty(QLatin1String(key), value, defaultValue);
    };
    write("ButtonsVisible", fields.ButtonsVisible, true);
    write("Orientation", fields.Orientation, 1);
    write("ThumbAlignment", fields.ThumbAlignment, 0);
    write("PictureBackground", FromPicture(PictureBackground()), QVariant());
    write("PictureUp", FromPicture(PictureUp()), QVariant());
    write("PictureDown", FromPicture(PictureDown()), QVariant());
    write("PictureRight", FromPicture(PictureRight()), QVariant());
    write("PictureLeft", FromPicture(PictureLeft()), QVariant());
    write("PictureThumb", FromPicture(PictureThumb()), QVariant());
    write("Min", fields.Min, 0);
    write("Max", fields.Max, StoredMaxDefault);
    write("Value", fields.Value, 0);
    write("BackColor", int(BackColor()), int(DefaultBackColor));
    write("LargeChange", fields.LargeChange, 10);
    write("SmallChange", fields.SmallChange, 1);
    write("AutoSize", fields.AutoSize, false);
    write("Enabled", EnabledProperty(), true);
}

void dtVisualScrollBar::SetMessageFunction(MessageFunction show)
{
    showMessage = std::move(show);
}

void dtVisualScrollBar::ShowMessage(const QString &text)
{
    if (showMessage)
        showMessage(text, ErrorTitle);
}
