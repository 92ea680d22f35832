#pragma once
// How the program's lists draw a row: its text as the user reads a file name
// (file_names.h), at least as wide as an extent the list sets, and what the
// row's model says of its watching (row_marks.h): a small tick after the name
// for a file watched, a thin bar under the name for one left midway. A row
// without a mark is drawn exactly as Qt's item views draw it.

#include <QStyledItemDelegate>

class ListRowDelegate : public QStyledItemDelegate
{
public:
    // extent, when given, is read at every layout: the rows' least width.
    explicit ListRowDelegate(QObject *parent, const int *extent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const int *extent_;
};
