#pragma once
// What the RealAudio control shows of its player, one view per part: the
// position slider and the status bar. (The picture is the engine's own video
// widget, placed by the control.) Each paints itself in the control's
// background colour and keeps the keyboard focus away from itself, so the
// host window's keys stay the host's. Screen readers read the slider's
// position and the status bar's text (platform/accessible_widgets.h).

#include <QColor>
#include <QWidget>

// The slider's thumb: its left edge in pixels on a slider `width` wide for
// `position` of `length` seconds (0 for no length).
int SliderThumbLeft(double position, double length, int width);
// The position in seconds the pointer at x stands for.
double SliderPositionAt(int x, double length, int width);
constexpr int SliderThumbWidth = 9;

// The status bar's time: "m:ss / m:ss" (hours as "h:mm:ss" from one hour),
// position first; only the position for no length.
QString StatusTimeText(double position, double length);
// The status bar's word for a play state (0 to 5); empty for others.
QString StatusStateText(qint32 state);

class RealPositionSlider : public QWidget
{
    Q_OBJECT
public:
    explicit RealPositionSlider(QWidget *parent = nullptr);

    // Follows playback; while the user drags, the thumb follows the pointer instead.
    void SetPosition(double position, double length);
    // Moves the thumb to `seconds` (within the clip) and asks to seek there,
    // as a click there does. Nothing happens without a length.
    void Seek(double seconds);
    void SetColor(const QColor &background);
    bool Dragging() const { return dragging_; }
    // The position shown and the clip's length, in seconds.
    double Position() const { return position_; }
    double Length() const { return length_; }
    // Where the thumb is drawn: its left edge in pixels.
    int ThumbLeft() const { return SliderThumbLeft(position_, length_, width()); }

signals:
    // The user clicked or dragged to `seconds`.
    void SeekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void DragTo(int x);

    double position_ = 0;
    double length_ = 0;
    bool dragging_ = false;
    QColor background_ = Qt::black;
};

class RealStatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit RealStatusBar(QWidget *parent = nullptr);

    void SetState(qint32 state);
    void SetPosition(double position, double length);
    void SetColor(const QColor &background);
    // What it shows: the state's word and the time.
    QString StateText() const { return state_; }
    QString TimeText() const { return time_; }
    // The width that shows any state's word beside the time at its longest
    // (the whole length against the length), neither cut.
    int WidthNeeded() const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QString state_;
    QString time_;
    double length_ = 0;
    QColor background_ = Qt::black;
};
