#include "app/gradient_panel.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

QColor BackgroundRowColour(int y, int height)
{
    if (height <= 0)
        return QColor(0, 30, 30);
    const double k = height / 3.142;
    const int c = static_cast<int>(std::nearbyint(std::fabs(std::sin(y / k) * 220)));
    return QColor(c, c + 30, c + 30);
}

GradientPanel::GradientPanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage &GradientPanel::Background()
{
    PaintGradientIfResized();
    return background_;
}

void GradientPanel::resizeEvent(QResizeEvent *)
{
    PaintGradient();
}

void GradientPanel::paintEvent(QPaintEvent *event)
{
    PaintGradientIfResized();
    QPainter painter(this);
    painter.drawImage(event->rect(), background_, event->rect());
}

void GradientPanel::PaintGradientIfResized()
{
    if (background_.size() != size())
        PaintGradient();
}

void GradientPanel::PaintGradient()
{
    const int width = qMax(1, this->width());
    const int height = qMax(1, this->height());
    background_ = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const QRgb colour = BackgroundRowColour(y, height).rgb();
        std::fill_n(reinterpret_cast<QRgb *>(background_.scanLine(y)), width, colour);
    }
    update();
}
