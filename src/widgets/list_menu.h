#pragma once
// A list's context menu, opened by a right click or the Menu key. Each item
// is a caption and what it does; an item may say at each opening whether it
// can be used now. Items show in the order they were added.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAbstractItemView;
class QMenu;

class ListMenu : public QObject
{
public:
    explicit ListMenu(QAbstractItemView *list);

    void AddItem(const QString &caption, std::function<void()> run, std::function<bool()> usable = {});

    // The menu as it would open now (for a look at its items).
    QMenu *Build() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Item
    {
        QString caption;
        std::function<void()> run;
        std::function<bool()> usable;
    };
    QAbstractItemView *list_;
    std::vector<Item> items_;
};
