#pragma once
// The keyboard focus of the window's picture controls (the switches, the group
// markers, the link): a frame drawn over their picture and label in the colours
// of the skinned button's focus face, dark blue outside and cyan inside, so it
// shows on the dark and the light parts of the background alike. It takes no
// mouse input; what lies under it is pressed as before.

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
