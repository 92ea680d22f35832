#include "widgets/window_animation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

// Long enough to be seen, short enough not to be waited for: the picture
// shows when it ends.
constexpr int DurationMs = 120;
constexpr int FrameMs = 15;

// A click-through, see-through top-level window that paints only its outline.
class Outline : public QWidget
{
public:
    Outline()
        : QWidget(nullptr,
                  Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput)
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

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
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
    for (qint64 elapsed = 0; elapsed < DurationMs; elapsed = clock.elapsed()) {
        outline.setGeometry(InterpolateFrame(from, to, double(elapsed) / DurationMs).adjusted(0, 0, 2, 2));
        outline.repaint();
        Wait(int(qMin<qint64>(FrameMs, DurationMs - elapsed))); // the last frame ends on time
    }
}
