#pragma once
// dtVisualScrollBar is the program's own skinned scroll bar. Every visible part
// of it is a picture box whose picture a host may replace: the track picBG
// (always the whole control, filled with BackColor), the thumb picTHUMB and
// the arrows picUP/picDN (vertical form) or picLeft/picRight (horizontal form).
// It keeps a 32-bit range and value, steps by SmallChange on an arrow click and
// by LargeChange on a track press, and follows the thumb while it is dragged.
// Change is raised by every assignment to Value (also one that changes
// nothing) and by releasing a thumb that the drag moved; Scroll (the signal
// ScrollEvent) by each drag step that moves the thumb. Properties persist in a
// PropertyBag.
//
// Geometry inside the control is reckoned in twips (15 twips = 1 px) with
// real-valued positions; each picture box is shown at the nearest whole pixel
// but keeps its exact position, so the value a drag reads back is not
// disturbed by pixel snapping. A step that would leave 32 bits or divide by a
// zero span is skipped and leaves the state as it was.
//
// Its members are defined by concern: properties and persistence in
// visual_scroll_bar.cpp, the layout of the boxes in visual_scroll_bar_layout.cpp,
// the mouse in visual_scroll_bar_input.cpp; each box paints itself
// (scroll_bar_picture_box.h).

#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class PropertyBag;
class QLocale;
class ScrollBarPictureBox;

// A picture property's value: no picture at all (std::nullopt), an empty
// picture (a null QPixmap) or an image.
using ScrollBarPicture = std::optional<QPixmap>;

// `number` in groups of three digits joined by `locale`'s thousands separator
// (2147483647 -> "2,147,483,647" in English).
QString GroupedThousands(qint64 number, const QLocale &locale);

class dtVisualScrollBar : public QWidget
{
    Q_OBJECT

public:
    // The picture boxes, for hosts and tests that look at the layout.
    enum class Part { Background, Thumb, Up, Down, Left, Right };

    // Shows a critical message box with `text` and `title`.
    using MessageFunction = std::function<void(const QString &text, const QString &title)>;

    // A newly placed control: range 0..32767, value 0, steps 1 and 10, buttons
    // shown, the skin's arrows and thumb. Its first layout (at the first resize
    // or property change) picks orientation, alignment and a 315-twip
    // thickness from its shape, so give it its place first.
    explicit dtVisualScrollBar(QWidget *parent = nullptr);
    ~dtVisualScrollBar() override;

    // Whether the control follows the size of the track's picture.
    bool AutoSize() const { return fields.AutoSize; }
    void SetAutoSize(bool value);

    // Whether the arrow buttons of the current orientation are shown.
    bool ButtonsVisible() const { return fields.ButtonsVisible; }
    void SetButtonsVisible(bool value);

    qint32 Value() const { return fields.Value; }
    // Clamps into Min..Max, places the thumb, raises Change (always).
    void SetValue(qint32 value);

    qint32 SmallChange() const { return fields.SmallChange; }
    // 1..32767 is kept; anything else silently becomes 1.
    void SetSmallChange(qint32 value);

    qint32 LargeChange() const { return fields.LargeChange; }
    // 1..32767 is kept; anything else shows "Invalid property value" and becomes 1.
    void SetLargeChange(qint32 value);

    // 0 left, 1 centre, 2 right (vertical form); 3 top, 4 middle, 5 bottom
    // (horizontal form). A value of the other form is carried over to this one.
    qint32 ThumbAlignment() const { return fields.ThumbAlignment; }
    void SetThumbAlignment(qint32 value);

    // The track's colour as 0x00BBGGRR.
    quint32 BackColor() const;
    // A value with a non-zero top byte is not a colour and changes nothing.
    void SetBackColor(quint32 colour);

    // 1 vertical, 0 horizontal. Carries ThumbAlignment over and shows the
    // new form's arrows.
    qint32 Orientation() const { return fields.Orientation; }
    void SetOrientation(qint32 value);

    // The picture each box shows. Setting one: no picture at all empties the
    // box (picLeft and picDN also shrink to nothing); an empty picture makes
    // the track as large as the control and any other box a square as large as
    // the control is thick; an image is shown at its own size (the track's
    // only when AutoSize), and the control takes the track's size.
    ScrollBarPicture PictureBackground() const;
    void SetPictureBackground(const ScrollBarPicture &picture);
    ScrollBarPicture PictureThumb() const;
    void SetPictureThumb(const ScrollBarPicture &picture);
    ScrollBarPicture PictureUp() const;
    void SetPictureUp(const ScrollBarPicture &picture);
    ScrollBarPicture PictureRight() const;
    void SetPictureRight(const ScrollBarPicture &picture);
    ScrollBarPicture PictureLeft() const;
    void SetPictureLeft(const ScrollBarPicture &picture);
    ScrollBarPicture PictureDown() const;
    void SetPictureDown(const ScrollBarPicture &picture);

    // Min may be set to any value that keeps Max - Min within 32 bits; Max
    // must be larger than Min, within 32 bits of it. A refused value shows a
    // message and changes nothing; an accepted one re-assigns Value.
    qint32 Min() const { return fields.Min; }
    void SetMin(qint32 value);
    qint32 Max() const { return fields.Max; }
    void SetMax(qint32 value);

    // The control's own enabled state (a disabled bar ignores the mouse).
    // Named apart from QWidget's setEnabled, which sends no PropertyChanged.
    bool EnabledProperty() const;
    void SetEnabledProperty(bool value);

    // Loads the stored properties (keys in any letter case; missing keys read
    // as their defaults; unreadable values leave the property as it was),
    // then lays the control out. A loaded control is not newly placed.
    void ReadProperties(const PropertyBag &bag);
    // Saves every property that differs from its default.
    void WriteProperties(PropertyBag &bag) const;

    // Replaces the message box (tests record the messages instead).
    void SetMessageFunction(MessageFunction show);

    // Read-only views for hosts and tests: a box's place in twips, whether it
    // is shown, and whether the thumb is being dragged.
    QRectF PartTwips(Part part) const;
    bool PartShown(Part part) const;
    bool ThumbDragging() const { return fields.Dragging; }

signals:
    void Change();
    // The Scroll event, named apart from QWidget::scroll (which moves pixels).
    void ScrollEvent();
    void PropertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // How a picture box answers an empty picture or no picture at all.
    enum class PictureRole { Track, KeepsSize, Collapses };

    // The full layout: first layout when due, auto-size, track, arrows, thumb.
    void FullLayout();
    void FirstLayout();
    void ShowButtons();
    void PlaceThumb();

    void picBG_MouseDown(QPointF position);
    void picUP_Click();
    void picDN_Click();
    void picLeft_Click();
    void picRight_Click();
    void picTHUMB_MouseDown(QPointF position);
    void picTHUMB_MouseMove(QPointF position);
    void picTHUMB_MouseUp();

    // Assigns `value` through the Value property unless it leaves 32 bits.
    void StepValue(qint64 value);
    // Shows `picture` in `box`, sizes the box as `role` says and sends PropertyChanged(name).
    void SetPicture(ScrollBarPictureBox *box, const ScrollBarPicture &picture, PictureRole role, const QString &name);
    void ShowMessage(const QString &text);
    bool Vertical() const { return fields.Orientation == 1; }
    // The up or left arrow, and the down or right arrow, of the current form.
    ScrollBarPictureBox *BackArrow() const;
    ScrollBarPictureBox *ForwardArrow() const;
    QSize ClientTwips() const;
    void ResizeTwips(double width, double height);
    ScrollBarPictureBox *Box(Part part) const;

    struct
    {
        qint32 Min = 0;
        qint32 Max = 32767;
        qint32 Value = 0;
        qint32 SmallChange = 1;
        qint32 LargeChange = 10;
        qint32 Orientation = 0;
        qint32 ThumbAlignment = 0;
        bool AutoSize = false;
        bool ButtonsVisible = true;
        qint32 GrabX = 0;
        qint32 GrabY = 0;
        bool Dragging = false;
        qint32 LastThumbPos = 0;
        bool ThumbMoved = false; // the current drag has moved the thumb
        bool FirstLayoutPending = true;
    } fields;

    ScrollBarPictureBox *picBG;
    ScrollBarPictureBox *picTHUMB;
    ScrollBarPictureBox *picUP;
    ScrollBarPictureBox *picDN;
    ScrollBarPictureBox *picLeft;
    ScrollBarPictureBox *picRight;
    MessageFunction showMessage;
};
