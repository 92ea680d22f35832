#include "widgets/accessible_widgets.h"

#include "widgets/picture_label.h"

#include <QTimer>

namespace {

// Set on the widgets hidden from screen readers.
const char HiddenProperty[] = "reelboxHiddenFromScreenReaders";

bool IsCheckable(QAccessible::Role role)
{
    return role == QAccessible::CheckBox || role == QAccessible::RadioButton;
}

bool IsPressable(QAccessible::Role role)
{
    return role == QAccessible::PushButton || role == QAccessible::Link;
}

// A picture or text label; with an AccessibleRole, the control it stands for.
// A label beside it that names it is its buddy: the picture takes its name
// from that label and the two are related, so the name is not read twice.
class AccessiblePictureLabel : public QAccessibleWidget
{
public:
    explicit AccessiblePictureLabel(PictureLabel *label)
        : QAccessibleWidget(label)
    {
    }

    QAccessible::Role role() const override
    {
        if (Label()->AccessibleRole() != QAccessible::NoRole)
            return Label()->AccessibleRole();
        return Label()->text().isEmpty() ? QAccessible::Graphic : QAccessible::StaticText;
    }

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = Label()->text();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (IsCheckable(role())) {
            state.checkable = true;
            state.checked = Label()->Checked();
        }
        return state;
    }

    // A picture whose click does nothing (the trash only takes drops) offers
    // no action.
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (Label()->Clickable())
            names.prepend(ClickAction());
        return names;
    }

    void doAction(const QString &name) override
    {
        if (!name.isEmpty() && name == ClickAction() && Label()->Clickable()) {
            PictureLabel *label = Label();
            PressLater(label, [label] { label->PressAndRelease(); });
            return;
        }
        QAccessibleWidget::doAction(name);
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto related = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled) {
            if (QAccessibleInterface *named = QAccessible::queryAccessibleInterface(Label()->buddy()))
                related.append({named, QAccessible::Labelled});
        }
        return related;
    }

private:
    PictureLabel *Label() const { return static_cast<PictureLabel *>(widget()); }

    // What a screen reader calls a click: a press, or a toggle of a switch.
    QString ClickAction() const
    {
        if (IsPressable(role()))
            return pressAction();
        if (IsCheckable(role()))
            return toggleAction();
        return {};
    }
};

QAccessibleInterface *CreateInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("PictureLabel"))
        return new AccessiblePictureLabel(static_cast<PictureLabel *>(object));
    if (className == QLatin1String("ControlPanel"))
        return new AccessibleContainer(static_cast<QWidget *>(object), QAccessible::Grouping);
    return nullptr;
}

void Notify(QAccessibleEvent &&event)
{
    QAccessible::updateAccessibility(&event);
}

} // namespace

void InstallAccessibleWidgets()
{
    InstallAccessibleFactory(CreateInterface);
}

void InstallAccessibleFactory(QAccessible::InterfaceFactory factory)
{
    static QList<QAccessible::InterfaceFactory> installed;
    if (installed.contains(factory))
        return;
    installed.append(factory);
    QAccessible::installFactory(factory);
}

void PressLater(QObject *context, std::function<void()> press)
{
    QTimer::singleShot(0, context, std::move(press));
}

void NotifyCheckedChanged(QObject *object)
{
    QAccessible::State changed;
    changed.checked = true;
    Notify(QAccessibleStateChangeEvent(object, changed));
}

void NotifyEnabledChanged(QObject *object)
{
    QAccessible::State changed;
    changed.disabled = true;
    Notify(QAccessibleStateChangeEvent(object, changed));
}

void NotifyNameChanged(QObject *object)
{
    Notify(QAccessibleEvent(object, QAccessible::NameChanged));
}

void NotifyValueChanged(QObject *object, const QVariant &value)
{
    Notify(QAccessibleValueChangeEvent(object, value));
}

void HideFromScreenReaders(QWidget *widget)
{
    widget->setProperty(HiddenProperty, true);
}

AccessibleContainer::AccessibleContainer(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

QAccessibleInterface *AccessibleContainer::child(int index) const
{
    const QList<QWidget *> children = Children();
    return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
}

int AccessibleContainer::indexOfChild(const QAccessibleInterface *child) const
{
    return child ? int(Children().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
}

QList<QWidget *> AccessibleContainer::Children() const
{
    QList<QWidget *> children;
    for (QWidget *child : widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !child->property(HiddenProperty).toBool())
            children.append(child);
    }
    return children;
}

AccessibleSlider::AccessibleSlider(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::Slider)
{
}

void *AccessibleSlider::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}
