#include "platform/window_animation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int DurationMs = 180;
constexpr int FrameMs = 15;

// A click-through, see-through top-level window that paints only its outline.
class Outline : public QWidget
{
public:
    Outline()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                               | Qt::WindowTransparentForInput)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(QColor(30, 200, 200), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

void WaitOneFrame()
{
    QEventLoop loop;
    QTimer::singleShot(FrameMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

QRect InterpolateFrame(const QRect &from, const QRect &to, double t)
{
    auto mix = [t](int a, int b) { return a + static_cast<int>((b - a) * t); };
    return QRect(QPoint(mix(from.left(), to.left()), mix(from.top(), to.top())),
                 QSize(mix(from.width(), to.width()), mix(from.height(), to.height())));
}

void AnimateFrame(const QRect &from, const QRect &to)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    Outline outline;
    outline.setGeometry(from.adjusted(0, 0, 2, 2));
    outline.show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < DurationMs) {
        const double t = double(clock.elapsed()) / DurationMs;
        outline.setGeometry(InterpolateFrame(from, to, t).adjusted(0, 0, 2, 2));
        outline.repaint();
        WaitOneFrame();
    }
}
