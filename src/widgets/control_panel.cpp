#include "widgets/control_panel.h"

#include "widgets/accessible_widgets.h"

namespace {

// Where widget shows in its window.
QRect InWindow(const QWidget *widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint()), widget->size());
}

} // namespace

ControlPanel::ControlPanel(const QString &name, QWidget *parent)
    : QWidget(parent)
{
    InstallAccessibleWidgets(); // before the name, which readers are told of
    setAccessibleName(name);
}

void ControlPanel::Gather(const QList<QWidget *> &controls)
{
    QRect area;
    for (const QWidget *control : controls)
        area |= InWindow(control);
    setGeometry(QRect(parentWidget()->mapFrom(window(), area.topLeft()), area.size()));
    for (QWidget *control : controls)
        MoveInto(control, this);
}

void MoveInto(QWidget *widget, QWidget *parent)
{
    const QPoint at = InWindow(widget).topLeft() - InWindow(parent).topLeft();
    widget->setParent(parent);
    widget->move(at);
}
