// What a screen reader reads of the folder, file and favourites lists: each
// entry by the text the list shows, and the focus on one object at a time.

#include "base/file_names.h"
#include "base/folder_listing.h"
#include "widgets/dir_list_box.h"
#include "widgets/file_list_box.h"
#include "widgets/list_box.h"

#include <QAccessible>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct ListKind
{
    const char *kind;
    // A list on host holding entries for names.
    std::function<QAbstractItemView *(QWidget *host, const QStringList &names)> make;
    QString shownForeign; // what it shows for the name ShiftJisName stands for
    QString focusedEmpty; // what holds the focus when it has no names: the list, or the root folder
};

const ListKind Kinds[] = {
    {"file list",
     [](QWidget *host, const QStringList &names) {
         auto *list = new FileListBox(host);
         list->SetPattern("*.avi");
         list->SetListing({QDir::tempPath(), {}, names, true});
         return list;
     },
     "ビデオ.avi", "list"},
    {"favourites",
     [](QWidget *host, const QStringList &names) {
         auto *list = new ListBox(host);
         for (const QString &name : names)
             list->AddItem(name);
         return list;
     },
     "ビデオ.avi", "list"},
    {"folder list",
     [](QWidget *host, const QStringList &names) {
         auto *list = new DirListBox(host);
         list->SetPath("/", FolderListing{"/", names, {}, true});
         return list;
     },
     "ビデオ.avi", "/"},
};

// A name from an old Windows disk: Shift_JIS bytes for "ビデオ.avi".
const QString ShiftJisName = DecodeFileName("\x83r\x83"
                                            "f\x83I.avi");

QAccessibleInterface *Reader(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// The names of what in list reports the focus: "list" for the list itself.
QStringList Focused(QAbstractItemView *list)
{
    QAccessibleInterface *reader = Reader(list);
    QStringList focused;
    if (reader->state().focused)
        focused << "list";
    for (int i = 0; i < reader->childCount(); ++i) {
        if (reader->child(i)->state().focused)
            focused << reader->child(i)->text(QAccessible::Name).trimmed();
    }
    return focused;
}

} // namespace

TEST(AccessibleLists, EntriesReadAsTheListShowsThem)
{
    for (const ListKind &kind : Kinds) {
        QWidget host;
        QAccessibleInterface *list = Reader(kind.make(&host, {ShiftJisName}));
        ASSERT_GT(list->childCount(), 0) << kind.kind;
        QAccessibleInterface *entry = list->child(list->childCount() - 1);
        EXPECT_EQ(entry->role(), QAccessible::ListItem) << kind.kind;
        EXPECT_EQ(entry->text(QAccessible::Name).trimmed(), kind.shownForeign) << kind.kind;
        EXPECT_EQ(list->indexOfChild(entry), list->childCount() - 1) << kind.kind;
    }
}

TEST(AccessibleLists, OneObjectHoldsTheFocusAndTheListsLetItGo)
{
    for (const ListKind &kind : Kinds) {
        QWidget window;
        auto *elsewhere = new QPushButton("elsewhere", &window);
        QAbstractItemView *list = kind.make(&window, {"a.avi", "b.avi"});
        QAbstractItemView *empty = kind.make(&window, {});
        list->move(0, 30);
        empty->move(0, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

        list->setFocus(Qt::TabFocusReason);
        list->setCurrentIndex(list->model()->index(list->model()->rowCount() - 1, 0));
        EXPECT_EQ(Focused(list), QStringList{"b.avi"}) << kind.kind << ": the current entry, not the list";
        elsewhere->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Focused(list), QStringList{}) << kind.kind << ": the focus moved on";
        empty->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Focused(empty), QStringList{kind.focusedEmpty}) << kind.kind << ": nothing to list";
    }
}
