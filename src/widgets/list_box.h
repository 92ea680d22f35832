#pragma once
// A plain list of texts that can scroll sideways up to a set width, so long
// paths can be read in full. It reports presses and double-clicks to its host
// and, once given the formats it takes, drops of data offering one of them.
// Texts that are file names (file_names.h) show as the user reads them.
// Like a list box, a press where no entry is keeps the selection, and the
// list holds at most MaxListEntries texts. Its rows are of one height. The
// texts are the display texts of the model it shows: a list of texts of its
// own (AddItem) until the host gives it a model of its own.

#include <QListView>
#include <QStringListModel>

class QMimeData;

// Positions and counts of the program's lists are 16-bit: this many at most.
constexpr int MaxListEntries = 32767;

class ListBox : public QListView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Lets the list scroll sideways up to extent pixels of content.
    void SetHorizontalExtent(int extent);
    int HorizontalExtent() const { return extent_; }

    qint16 ListCount() const;
    // The position that shows selected, -1 when none does.
    qint16 ListIndex() const;
    // Makes index the current, selected entry (none for -1).
    void SetListIndex(int index);
    bool HasSelection() const;
    QString List(int index) const;
    QStringList Entries() const;
    // Adds text at the end of the list's own texts; false (nothing added)
    // when the list is full.
    bool AddItem(const QString &text);

    void setModel(QAbstractItemModel *model) override;

    // Takes drops of data offering any of formats (none: takes no drops).
    void SetDropFormats(const QStringList &formats);

signals:
    // The entries that show selected changed.
    void SelectionChange();
    // After the press has selected the entry under the pointer.
    void MouseDown(Qt::MouseButton button);
    void DblClick();
    // The data is valid only while the signal is delivered; source is the
    // object the drag started from when it is in this program, else null.
    void DragDrop(const QMimeData *data, QObject *source);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    int extent_ = 0;
    QStringList dropFormats_;
    QStringListModel *texts_;
};
