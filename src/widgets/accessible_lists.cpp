#include "widgets/accessible_lists.h"

#include "widgets/accessible_widgets.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

namespace {

// Set on the views that read as the lists described in the header.
const char ListProperty[] = "reelboxAccessibleList";

// The text view shows for index: what its delegate makes of the data.
QString ShownText(const QAbstractItemView *view, const QModelIndex &index)
{
    const QVariant data = index.data(Qt::DisplayRole);
    if (const auto *delegate = qobject_cast<const QStyledItemDelegate *>(view->itemDelegateForIndex(index)))
        return delegate->displayText(data, view->locale());
    return data.toString();
}

// The entry that holds the focus: the current one, while view has the focus.
QModelIndex FocusedEntry(const QAbstractItemView *view)
{
    return view->hasFocus() ? view->currentIndex() : QModelIndex();
}

class AccessibleEntry : public QAccessibleInterface
{
public:
    AccessibleEntry(QAbstractItemView *view, const QModelIndex &index)
        : view_(view)
        , index_(index)
    {
    }

    bool isValid() const override { return view_ && index_.isValid(); }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(view_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return ShownText(view_, index_);
        if (kind == QAccessible::Description) // what the model says of the entry, such as how far it was watched
            return index_.data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect shown = view_->visualRect(index_);
        return QRect(view_->viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QRect viewport(view_->viewport()->mapToGlobal(QPoint()), view_->viewport()->size());
        state.invisible = !view_->isVisible() || !viewport.intersects(rect());
        state.selectable = (index_.flags() & Qt::ItemIsSelectable) != 0;
        state.focusable = state.selectable;
        state.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index_);
        state.focused = index_ == FocusedEntry(view_);
        return state;
    }

    const QAbstractItemView *View() const { return view_; }
    int Row() const { return index_.row(); }

private:
    QPointer<QAbstractItemView> view_;
    QPersistentModelIndex index_;
};

class AccessibleList : public QAccessibleWidget
{
public:
    explicit AccessibleList(QAbstractItemView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {
    }

    ~AccessibleList() override
    {
        for (const QAccessible::Id id : std::as_const(entries_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return View()->model() ? View()->model()->rowCount(View()->rootIndex()) : 0; }

    // Entries are made as readers ask for them, and made afresh once the row
    // an entry was made for holds another (rows came or went).
    QAccessibleInterface *child(int row) const override
    {
        const QModelIndex index = View()->model() ? View()->model()->index(row, 0, View()->rootIndex()) : QModelIndex();
        if (!index.isValid())
            return nullptr;
        if (const auto made = entries_.constFind(row); made != entries_.cend()) {
            auto *entry = static_cast<AccessibleEntry *>(QAccessible::accessibleInterface(*made));
            if (entry && entry->isValid() && entry->Row() == row)
                return entry;
            QAccessible::deleteAccessibleInterface(*made);
        }
        auto *entry = new AccessibleEntry(View(), index);
        entries_.insert(row, QAccessible::registerAccessibleInterface(entry));
        return entry;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *entry = dynamic_cast<const AccessibleEntry *>(child);
        return entry && entry->isValid() && entry->View() == View() ? entry->Row() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QModelIndex index = View()->indexAt(View()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex focused = FocusedEntry(View());
        return focused.isValid() ? child(focused.row()) : QAccessibleWidget::focusChild();
    }

    // While an entry holds the focus, the list does not.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (FocusedEntry(View()).isValid())
            state.focused = false;
        return state;
    }

private:
    QAbstractItemView *View() const { return static_cast<QAbstractItemView *>(widget()); }

    mutable QHash<int, QAccessible::Id> entries_;
};

// Qt tells readers that a view took the focus once the view has handled it
// (and made an entry current, if it had none). Then, from the event loop,
// they are told that the current entry holds it.
class FocusRelay : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && QAccessible::isActive())
            QMetaObject::invokeMethod(
                watched, [view = static_cast<QAbstractItemView *>(watched)] { TellFocusedEntry(view); },
                Qt::QueuedConnection);
        return false;
    }

private:
    static void TellFocusedEntry(QAbstractItemView *view)
    {
        const QModelIndex focused = FocusedEntry(view);
        if (!focused.isValid())
            return;
        QAccessibleEvent event(view, QAccessible::Focus);
        event.setChild(focused.row());
        QAccessible::updateAccessibility(&event);
    }
};

QAccessibleInterface *CreateListInterface(const QString &, QObject *object)
{
    auto *view = qobject_cast<QAbstractItemView *>(object);
    return view && view->property(ListProperty).toBool() ? new AccessibleList(view) : nullptr;
}

} // namespace

void TellDescriptionChanges(QAbstractItemView *view)
{
    const auto changed = [view](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
        if (!QAccessible::isActive() || !(roles.isEmpty() || roles.contains(Qt::AccessibleDescriptionRole)))
            return;
        const QModelIndex focused = FocusedEntry(view);
        if (!focused.isValid() || focused.row() < from.row() || focused.row() > to.row())
            return;
        QAccessibleEvent event(view, QAccessible::DescriptionChanged);
        event.setChild(focused.row());
        QAccessible::updateAccessibility(&event);
    };
    if (view->model())
        QObject::connect(view->model(), &QAbstractItemModel::dataChanged, view, changed);
}

void MakeListAccessible(QAbstractItemView *view)
{
    InstallAccessibleFactory(CreateListInterface);
    view->setProperty(ListProperty, true);
    view->installEventFilter(new FocusRelay(view));
    TellDescriptionChanges(view);
    // An interface made while the view's base class was being built (it
    // tells readers of its model) is Qt's own: the next one asked for is this.
    if (QAccessible::isActive()) {
        QAccessibleInterface *made = QAccessible::queryAccessibleInterface(view);
        if (made && !dynamic_cast<AccessibleList *>(made))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}
