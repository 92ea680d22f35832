#pragma once
// A panel that groups controls for screen readers, as a group box does in a
// window of stock controls: readers find the controls in it under its name,
// so two that are alike (the 再生 of each list) tell which list they act on.
// It draws nothing and takes no input itself: what lies under it shows
// through, and a press beside its controls goes on to its parent.

#include <QList>
#include <QWidget>

class ControlPanel : public QWidget
{
    Q_OBJECT
public:
    // An empty panel that readers find as name.
    ControlPanel(const QString &name, QWidget *parent);

    // Moves controls into the panel, in their order, and makes it as large
    // as they are together. Each stays where it shows in the window.
    void Gather(const QList<QWidget *> &controls);
};

// Moves widget into parent (in the same window), where it shows now.
void MoveInto(QWidget *widget, QWidget *parent);
