#pragma once
// A plain list of texts that can scroll sideways up to a set width, so long
// paths can be read in full. It reports presses and double-clicks to its host
// and, once given the formats it takes, drops of data offering one of them.

#include <QListWidget>

class QMimeData;

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

    // Takes drops of data offering any of formats (none: takes no drops).
    void SetDropFormats(const QStringList &formats);

signals:
    // After the press has selected the entry under the pointer.
    void MouseDown(Qt::MouseButton button);
    void DblClick();
    // The data is valid only while the signal is delivered.
    void DragDrop(const QMimeData *data);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    int extent_ = 0;
    QStringList dropFormats_;
};
