#pragma once
// The keyboard focus of the window's controls that have no focus face of
// their own (the drive and file-type boxes, the lists, the switches, the group
// markers, the link): a frame drawn around the control in the colours of the
// skinned button's focus face, dark blue outside and cyan inside, so it shows
// on the dark and the light parts of the background alike. It covers nothing
// but the frame's lines, which lie outside the control, and takes no mouse
// input; screen readers do not find it.

#include <QWidget>

class FocusMark : public QWidget
{
    Q_OBJECT
public:
    explicit FocusMark(QWidget *parent);

    // Shows the frame around area (in the parent's coordinates), on top.
    void Surround(const QRect &area);

protected:
    void paintEvent(QPaintEvent *event) override;
};
