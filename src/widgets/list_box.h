#pragma once
// A plain list of texts that can scroll sideways up to a set width, so long
// paths can be read in full. It reports presses and double-clicks to its host
// and, once given the formats it takes, drops of data offering one of them.
// Texts that are file names (file_names.h) show as the user reads them.
// Like a list box, a press where no entry is keeps the selection, and the
// list holds at most MaxListEntries texts. Its rows are of one height.

#include <QListWidget>
#include <functional>

class QMimeData;

// Positions and counts of the program's lists are 16-bit: this many at most.
constexpr int MaxListEntries = 32767;

class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Lets the list scroll sideways up to extent pixels of content.
    void SetHorizontalExtent(int extent);
    int HorizontalExtent() const { return extent_; }

    qint16 ListCount() const { return static_cast<qint16>(count()); }
    // The position that shows selected, -1 when none does.
    qint16 ListIndex() const;
    QString List(int index) const;
    QStringList Entries() const;
    // Adds text at the end; false (nothing added) when the list is full.
    bool AddItem(const QString &text);
    // Replaces every entry with texts, or adds texts at the end, as many as
    // the list can hold, in one insertion: a list of tens of thousands fills
    // at once. dress, when given, sets the data of each new entry (and its
    // row) before anything shows it.
    using EntryDressing = std::function<void(QListWidgetItem &entry, int row)>;
    void SetEntries(const QStringList &texts, const EntryDressing &dress = {});
    void AppendEntries(const QStringList &texts, const EntryDressing &dress = {});

    // Takes drops of data offering any of formats (none: takes no drops).
    void SetDropFormats(const QStringList &formats);

signals:
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
};
