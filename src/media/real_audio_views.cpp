#include "media/real_audio_views.h"

#include "media/real_audio_accessibility.h"
#include "widgets/accessible_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor Groove(70, 80, 80);
const QColor Played(30, 200, 200); // the skin's teal
const QColor Thumb(225, 235, 235);
const QColor Text(200, 210, 210);
const QColor Rule(60, 70, 70);
constexpr int TextMargin = 6; // of the status bar's texts from its sides
constexpr int TextGap = 12;   // the least room between its two texts

QString Clock(double seconds)
{
    const qint64 whole = std::isfinite(seconds) ? std::max<qint64>(0, static_cast<qint64>(seconds)) : 0;
    const qint64 h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

} // namespace

int SliderThumbLeft(double position, double length, int width)
{
    const int travel = std::max(0, width - SliderThumbWidth);
    if (!(length > 0))
        return 0;
    return static_cast<int>(std::lround(std::clamp(position / length, 0.0, 1.0) * travel));
}

double SliderPositionAt(int x, double length, int width)
{
    const int travel = width - SliderThumbWidth;
    if (!(length > 0) || travel <= 0)
        return 0;
    // The thumb's middle goes where the pointer is.
    return std::clamp(double(x - SliderThumbWidth / 2) / travel, 0.0, 1.0) * length;
}

QString StatusTimeText(double position, double length)
{
    if (!(length > 0))
        return Clock(position);
    return Clock(position) + QStringLiteral(" / ") + Clock(length);
}

QString StatusStateText(qint32 state)
{
    switch (state) {
    case 0: return QStringLiteral("Stopped");
    case 1: return QStringLiteral("Contacting...");
    case 2: return QStringLiteral("Buffering...");
    case 3: return QStringLiteral("Playing");
    case 4: return QStringLiteral("Paused");
    case 5: return QStringLiteral("Seeking...");
    default: return {};
    }
}

RealPositionSlider::RealPositionSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The factory goes first: naming the slider already has a screen reader
    // ask for its interface, which is then kept for the slider's life.
    InstallRealAudioAccessibility();
    setAccessibleName(QStringLiteral("再生位置"));
}

void RealPositionSlider::SetPosition(double position, double length)
{
    const bool moved = SliderThumbLeft(position, length, width()) != SliderThumbLeft(position_, length_, width());
    length_ = length;
    if (dragging_)
        return;
    const bool nextSecond = std::floor(position) != std::floor(position_);
    position_ = position;
    if (moved) // playback moves the position at every frame: paint only what shows
        update();
    if (nextSecond) // and screen readers hear of it once a second
        NotifyValueChanged(this, position);
}

void RealPositionSlider::SetColor(const QColor &background)
{
    background_ = background;
    update();
}

void RealPositionSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    const int middle = height() / 2;
    const int thumb = ThumbLeft();
    painter.fillRect(QRect(0, middle - 2, width(), 4), Groove);
    painter.fillRect(QRect(0, middle - 2, thumb + SliderThumbWidth / 2, 4), Played);
    if (length_ > 0)
        painter.fillRect(QRect(thumb, middle - 6, SliderThumbWidth, 12), Thumb);
}

void RealPositionSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !(length_ > 0))
        return;
    dragging_ = true;
    DragTo(event->position().toPoint().x());
}

void RealPositionSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_)
        DragTo(event->position().toPoint().x());
}

void RealPositionSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    DragTo(event->position().toPoint().x());
    dragging_ = false;
}

void RealPositionSlider::DragTo(int x)
{
    Seek(SliderPositionAt(x, length_, width()));
}

void RealPositionSlider::Seek(double seconds)
{
    if (!(length_ > 0))
        return;
    seconds = std::clamp(seconds, 0.0, length_);
    if (seconds == position_)
        return;
    position_ = seconds;
    update();
    NotifyValueChanged(this, seconds);
    emit SeekRequested(seconds);
}

RealStatusBar::RealStatusBar(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont small = font();
    small.setPointSizeF(8.25);
    setFont(small);
    InstallRealAudioAccessibility();
}

void RealStatusBar::SetState(qint32 state)
{
    const QString text = StatusStateText(state);
    if (text.isEmpty() || text == state_)
        return;
    state_ = text;
    update();
    NotifyNameChanged(this);
}

void RealStatusBar::SetPosition(double position, double length)
{
    length_ = length;
    const QString text = StatusTimeText(position, length);
    if (text == time_) // a new text once a second
        return;
    time_ = text;
    update();
    NotifyNameChanged(this);
}

void RealStatusBar::SetColor(const QColor &background)
{
    background_ = background;
    update();
}

int RealStatusBar::WidthNeeded() const
{
    int state = 0;
    for (qint32 n = 0; n <= 5; ++n) // the states with a word
        state = qMax(state, fontMetrics().horizontalAdvance(StatusStateText(n)));
    // A length not known yet shows soon, as at least "0:00 / 0:00".
    const int time = fontMetrics().horizontalAdvance(StatusTimeText(length_, std::max(length_, 1.0)));
    return TextMargin + state + TextGap + time + TextMargin;
}

void RealStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.fillRect(QRect(0, 0, width(), 1), Rule);
    painter.setPen(Text);
    const QRect text = rect().adjusted(TextMargin, 1, -TextMargin, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, state_);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, time_);
}
