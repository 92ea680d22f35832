#include "widgets/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int LongestWaitMs = 1000;

// Watches the window for its first paint; the work is posted from there, so
// it runs once the paint of every child and its flush to the display are done.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget &window, std::function<void()> work)
        : QObject(&window)
        , work_(std::move(work))
    {
        window.installEventFilter(this);
        QTimer::singleShot(LongestWaitMs, this, &FirstPaintWatch::Run);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == parent())
            QTimer::singleShot(0, this, &FirstPaintWatch::Run);
        return false;
    }

private:
    void Run()
    {
        if (!work_)
            return;
        parent()->removeEventFilter(this);
        std::exchange(work_, {})();
        deleteLater();
    }

    std::function<void()> work_;
};

} // namespace

void AfterFirstPaint(QWidget &window, std::function<void()> work)
{
    new FirstPaintWatch(window, std::move(work));
}
