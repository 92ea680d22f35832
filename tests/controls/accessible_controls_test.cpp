// What a screen reader's actions do to the program's own controls: only what
// the mouse would.

#include "controls/command.h"
#include "controls/visual_scroll_bar.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QAccessibleInterface *Accessible(QObject *control)
{
    return QAccessible::queryAccessibleInterface(control);
}

} // namespace

TEST(AccessibleControls, PressClicksAnEnabledCommandOnlyOnceTheCallHasReturned)
{
    Command button;
    button.SetEnabledProperty(true);
    QSignalSpy clicks(&button, &Command::Click);
    QAccessibleActionInterface *actions = Accessible(&button)->actionInterface();
    ASSERT_NE(actions, nullptr);

    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 0); // a click may open a modal window: not inside the reader's call
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() == 1; }));

    button.SetEnabledProperty(false);
    EXPECT_TRUE(Accessible(&button)->state().disabled);
    EXPECT_TRUE(actions->actionNames().isEmpty());
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(50);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(AccessibleControls, SettingTheScrollBarsValueScrollsAsADragWithinTheRange)
{
    dtVisualScrollBar bar;
    bar.resize(225, 9);
    bar.SetMax(20);
    QSignalSpy scrolls(&bar, &dtVisualScrollBar::ScrollEvent);
    QAccessibleValueInterface *value = Accessible(&bar)->valueInterface();
    ASSERT_NE(value, nullptr);

    value->setCurrentValue(25);
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(value->currentValue().toInt(), 20);
    value->setCurrentValue(20); // already there: no seek
    EXPECT_EQ(scrolls.count(), 1);

    bar.SetEnabledProperty(false);
    value->setCurrentValue(5);
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(scrolls.count(), 1);
}
