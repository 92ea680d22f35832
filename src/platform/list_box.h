#pragma once
// A plain list of texts that can scroll sideways up to a set width, so long
// paths can be read in full.

#include <QListWidget>

class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Lets the list scroll sideways up to extent pixels of content.
    void SetHorizontalExtent(int extent);
    int HorizontalExtent() const { return extent_; }

    qint16 ListCount() const { return static_cast<qint16>(count()); }
    qint16 ListIndex() const { return static_cast<qint16>(currentRow()); }
    QString List(int index) const;
    QStringList Entries() const;
    void AddItem(const QString &text) { addItem(text); }

private:
    int extent_ = 0;
};
