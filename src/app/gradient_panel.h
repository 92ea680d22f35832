#pragma once
// The main window's background: a picture box painted with a sine-shaped
// vertical gradient, dark teal at the top and bottom and nearly white in the
// middle. The painting is kept in a backing image, so the background is whole
// again whenever the window is uncovered, and rebuilt only when the size changes.

#include <QColor>
#include <QImage>
#include <QWidget>

// The colour of row y of a background height rows tall:
// c = |sin(y / (height / 3.142)) * 220| rounded; colour (c, c + 30, c + 30).
QColor BackgroundRowColour(int y, int height);

class GradientPanel : public QWidget
{
    Q_OBJECT
public:
    explicit GradientPanel(QWidget *parent = nullptr);

    // The painted background at the panel's current size.
    const QImage &Background();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void PaintGradient();
    void PaintGradientIfResized();

    QImage background_;
};
