#pragma once
// The file list: the files (not folders) of one folder whose names match any
// of a ";"-separated list of patterns, without regard to letter case, in the
// order a file manager shows them. The names sit in one list model rather than
// an item object each: a folder of tens of thousands of files fills at once.
// Like every list of the program it holds at most MaxListEntries names.

#include "widgets/list_box.h"

#include <QListView>
#include <QStringListModel>

class QMimeData;
struct FolderListing;

class FileListBox : public QListView
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString Path() const { return path_; }
    // Lists folder. A folder that vanished or cannot be read leaves the list
    // and the path as they were (returns false).
    bool SetPath(const QString &folder);
    // Lists the files a reading of a folder found (the folder list's).
    void SetListing(const FolderListing &listing);

    QString Pattern() const { return pattern_; }
    // Lists the current folder, read afresh, through patterns such as
    // "*.avi;*.mpg".
    void SetPattern(const QString &patterns);
    // Lists the current folder afresh through the same patterns: files added
    // or deleted since show as they are now.
    void Refresh() { SetPattern(pattern_); }

    // The selected file's name ("" when none is selected).
    QString FileName() const;
    qint16 ListCount() const { return static_cast<qint16>(names_.rowCount()); }
    // How many matching files the list could not hold (past MaxListEntries).
    qsizetype LeftOut() const { return leftOut_; }
    // The selected position, -1 when none is selected.
    qint16 ListIndex() const { return FileName().isEmpty() ? -1 : static_cast<qint16>(currentIndex().row()); }
    // Selects the name at index (none for -1).
    void SetListIndex(qint16 index) { setCurrentIndex(names_.index(index)); }
    // The name at position index ("" outside the list).
    QString List(int index) const;
    // The row shown at the top of the list (0 when empty), and scrolling so
    // that row is at the top (as near as the list's length allows).
    int FirstVisibleRow() const;
    void SetFirstVisibleRow(int row);

    // Begins a drag of the selected file: it starts once the pressed mouse has
    // moved a little, so a click or a double-click stays what it is. The drag
    // carries the file's full path (its bytes) for this program, and its URL
    // for any other.
    void Drag();
    // What a drag of the selected file carries ("" path: nothing).
    static QMimeData *FileDragData(const QString &path);
    static QString DraggedFile(const QMimeData *data);

signals:
    void MouseDown(Qt::MouseButton button);
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void ShowNames(const QStringList &files, bool sorted = false);

    void StartDrag();

    QStringListModel names_;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    qsizetype leftOut_ = 0;
    bool dragArmed_ = false;
    QPoint pressedAt_;
};

// The names of the files in folder matching patterns (";"-separated, case
// folded), sorted naturally. Fails (returns false) when folder cannot be read.
bool MatchingFiles(const QString &folder, const QString &patterns, QStringList &names);
