#include "widgets/list_menu.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QMenu>

ListMenu::ListMenu(QAbstractItemView *list)
    : QObject(list)
    , list_(list)
{
    // A click opens it on the list's viewport; the Menu key where the focus is, on the list.
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
}

void ListMenu::AddItem(const QString &caption, std::function<void()> run, std::function<bool()> usable)
{
    items_.push_back({caption, std::move(run), std::move(usable)});
}

QMenu *ListMenu::Build() const
{
    auto *menu = new QMenu(list_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const Item &item : items_) {
        QAction *action = menu->addAction(item.caption);
        action->setEnabled(!item.usable || item.usable());
        connect(action, &QAction::triggered, list_, item.run);
    }
    return menu;
}

bool ListMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu || items_.empty())
        return false;
    const auto *request = static_cast<QContextMenuEvent *>(event);
    QPoint at = request->globalPos();
    if (request->reason() == QContextMenuEvent::Keyboard) {
        // Beside the entry that has the focus, else at the list's top.
        const QRect current = list_->visualRect(list_->currentIndex());
        at = list_->viewport()->mapToGlobal(current.isValid() ? current.bottomLeft() : QPoint(0, 0));
    }
    Q_UNUSED(watched);
    Build()->popup(at);
    return true;
}
