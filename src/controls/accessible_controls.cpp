#include "controls/accessible_controls.h"

#include "controls/command.h"
#include "controls/visual_scroll_bar.h"
#include "widgets/accessible_widgets.h"

#include <QAccessibleWidget>

namespace {

class AccessibleCommand : public QAccessibleWidget
{
public:
    explicit AccessibleCommand(Command *button)
        : QAccessibleWidget(button, QAccessible::PushButton)
    {
    }

    // The caption label is part of the button, not a control of its own.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = Button()->Caption();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.disabled = !Button()->EnabledFlag();
        return state;
    }

    // A disabled button offers nothing, as a disabled push button does.
    QStringList actionNames() const override
    {
        if (!Button()->EnabledFlag())
            return {};
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        Command *button = Button();
        PressLater(button, [button] {
            if (button->EnabledFlag())
                emit button->Click();
        });
    }

private:
    Command *Button() const { return static_cast<Command *>(widget()); }
};

class AccessibleScrollBar : public AccessibleSlider
{
public:
    explicit AccessibleScrollBar(dtVisualScrollBar *bar)
        : AccessibleSlider(bar)
    {
    }

    QVariant currentValue() const override { return Bar()->Value(); }
    // As a drag of the thumb to there: the host follows the drag's Scroll.
    void setCurrentValue(const QVariant &value) override
    {
        const qint32 before = Bar()->Value();
        if (!Bar()->EnabledProperty())
            return;
        Bar()->SetValue(value.toInt());
        if (Bar()->Value() != before)
            emit Bar()->ScrollEvent();
    }
    QVariant minimumValue() const override { return Bar()->Min(); }
    QVariant maximumValue() const override { return Bar()->Max(); }
    QVariant minimumStepSize() const override { return Bar()->SmallChange(); }

private:
    dtVisualScrollBar *Bar() const { return static_cast<dtVisualScrollBar *>(widget()); }
};

QAccessibleInterface *CreateInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("Command"))
        return new AccessibleCommand(static_cast<Command *>(object));
    if (className == QLatin1String("dtVisualScrollBar"))
        return new AccessibleScrollBar(static_cast<dtVisualScrollBar *>(object));
    return nullptr;
}

void InstallFactory()
{
    InstallAccessibleFactory(CreateInterface);
}

} // namespace

void ExposeToScreenReaders(Command *control)
{
    InstallFactory();
    QObject::connect(control, &Command::PropertyChanged, control, [control](const QString &name) {
        if (name == QLatin1String("Enabled"))
            NotifyEnabledChanged(control);
        else if (name == QLatin1String("Caption"))
            NotifyNameChanged(control);
    });
}

void ExposeToScreenReaders(dtVisualScrollBar *control)
{
    InstallFactory();
    QObject::connect(control, &dtVisualScrollBar::Change, control,
                     [control] { NotifyValueChanged(control, control->Value()); });
}
