#pragma once
// How screen readers see the program's own widgets, over the desktop's
// accessibility interface (AT-SPI on Linux): a PictureLabel as the control it
// stands for (its AccessibleRole), pressed as a click presses it. The helpers
// serve the other layers' interfaces too.

#include <QAccessibleWidget>
#include <functional>

// Installs, once, the factory that gives these widgets their interfaces. Each
// of them calls it as it is made.
void InstallAccessibleWidgets();

// Installs factory once, however often it is asked: each layer that gives its
// widgets interfaces of their own installs its factory as its first widget is made.
void InstallAccessibleFactory(QAccessible::InterfaceFactory factory);

// Runs press soon, from the event loop, unless context is gone by then: a
// press from a screen reader returns at once, even when what the press does
// opens a modal window.
void PressLater(QObject *context, std::function<void()> press);

// Tell screen readers what changed on object. Cheap while none listens.
void NotifyCheckedChanged(QObject *object);
void NotifyEnabledChanged(QObject *object);
void NotifyNameChanged(QObject *object);
void NotifyValueChanged(QObject *object, const QVariant &value);

// Leaves widget out of what screen readers find: a picture that only
// decorates, a background, a mark drawn over others. The containers that
// leave such widgets out are those read through AccessibleContainer.
void HideFromScreenReaders(QWidget *widget);

// A widget that holds others, read with its children less those hidden from
// screen readers.
class AccessibleContainer : public QAccessibleWidget
{
public:
    AccessibleContainer(QWidget *widget, QAccessible::Role role);

    int childCount() const override { return int(Children().size()); }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> Children() const;
};

// A widget read as a slider with a value between a minimum and a maximum, and
// no parts of its own. A screen reader that sets the value (or steps it up or
// down) moves the slider as a drag to that value would.
class AccessibleSlider : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleSlider(QWidget *widget);

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void *interface_cast(QAccessible::InterfaceType type) override;
};
