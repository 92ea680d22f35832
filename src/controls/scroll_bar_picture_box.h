#pragma once
// One picture box of dtVisualScrollBar (the track, the thumb or an arrow):
// shows its picture at the top-left corner over its background colour
// (transparent unless given one), keeps its place in real twips, and reports
// the mouse in its own twips to the control. Only the scroll bar uses it.

#include "controls/visual_scroll_bar.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QWidget>
#include <functional>

class ScrollBarPictureBox : public QWidget
{
public:
    ScrollBarPictureBox(const QString &name, QWidget *parent);

    // The box's place in the control, in twips; it shows at the nearest whole pixels.
    QRectF Twips() const { return twips; }
    void SetTwips(const QRectF &place);
    void MoveTo(QPointF topLeft) { SetTwips(QRectF(topLeft, twips.size())); }
    void ResizeTwips(double width, double height) { SetTwips(QRectF(twips.topLeft(), QSizeF(width, height))); }
    QSize SizeTwips() const { return twips.size().toSize(); }

    ScrollBarPicture Picture() const { return picture; }
    bool HoldsImage() const { return picture && !picture->isNull(); }
    // Shows `shown`; a box that sizes itself takes the size of an image.
    void SetPicture(const ScrollBarPicture &shown);

    bool AutoSize() const { return autoSize; }
    void SetAutoSize(bool value);

    QColor Background() const { return background; }
    void SetBackground(const QColor &colour);

    // What the control does with the box's mouse, positions in the box's twips.
    std::function<void(QPointF)> mouseDown;
    std::function<void(QPointF)> mouseMove;
    std::function<void()> mouseUp;
    std::function<void()> click;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QSizeF PictureTwips() const;
    // A point given in the widget's pixels, in twips from the box's exact place.
    QPointF ToBoxTwips(QPointF pixels) const;

    QRectF twips;
    ScrollBarPicture picture;
    QColor background; // invalid: the box is transparent
    bool autoSize = true;
    bool leftHeld = false;
};
