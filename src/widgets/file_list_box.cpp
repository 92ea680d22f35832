#include "widgets/file_list_box.h"

#include "base/file_names.h"
#include "base/folder_listing.h"
#include "widgets/accessible_lists.h"
#include "widgets/drop_formats.h"
#include "widgets/list_row_delegate.h"
#include "widgets/picture_label.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

void MarkedNames::SetNames(const QStringList &names)
{
    marks_.clear();
    setStringList(names);
}

void MarkedNames::SetMark(int row, const RowMark &mark)
{
    if (row < 0 || row >= rowCount() || marks_.value(row) == mark)
        return;
    if (mark.kind == RowMark::Kind::None)
        marks_.remove(row);
    else
        marks_.insert(row, mark);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {RowMarkRole, Qt::AccessibleDescriptionRole});
}

QVariant MarkedNames::data(const QModelIndex &index, int role) const
{
    if (role == RowMarkRole || role == Qt::AccessibleDescriptionRole)
        return RowMarkData(marks_.value(index.row()), role);
    return QStringListModel::data(index, role);
}

bool MatchingFiles(const QString &folder, const QString &patterns, QStringList &names)
{
    const std::optional<FolderListing> listing = ReadFolder(folder);
    if (!listing)
        return false;
    names = FilePatterns(patterns).SortedMatches(listing->files);
    return true;
}

FileListBox::FileListBox(QWidget *parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(&names_);
    setItemDelegate(new ListRowDelegate(this));
    MakeListAccessible(this);
}

bool FileListBox::SetPath(const QString &folder)
{
    const std::optional<FolderListing> listing = ReadFolder(folder);
    if (!listing)
        return false;
    SetListing(*listing);
    return true;
}

void FileListBox::SetListing(const FolderListing &listing)
{
    path_ = listing.folder;
    ShowNames(listing.files, listing.sorted);
}

void FileListBox::SetPattern(const QString &patterns)
{
    pattern_ = patterns;
    if (path_.isEmpty())
        return;
    // Read afresh: a new pattern is also how the list catches up with files
    // added or deleted since it was filled.
    if (const std::optional<FolderListing> listing = ReadFolder(path_))
        ShowNames(listing->files);
}

QString FileListBox::FileName() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.data().toString() : QString();
}

QString FileListBox::List(int index) const
{
    return names_.index(index).data().toString();
}

int FileListBox::FirstVisibleRow() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void FileListBox::SetFirstVisibleRow(int row)
{
    const QModelIndex entry = names_.index(qMin(row, names_.rowCount() - 1));
    if (entry.isValid())
        scrollTo(entry, QAbstractItemView::PositionAtTop);
}

void FileListBox::Drag()
{
    dragArmed_ = true;
}

QMimeData *FileListBox::FileDragData(const QString &path)
{
    auto *data = new QMimeData;
    const QByteArray bytes = EncodeFileName(path);
    data->setData(FileDragFormat, bytes);
    // Other programs, and other copies of this one, take the file by its URL.
    data->setData(UriListFormat, FileUrlOfPath(path) + "\r\n");
    return data;
}

QString FileListBox::DraggedFile(const QMimeData *data)
{
    return data ? DecodeFileName(data->data(FileDragFormat)) : QString();
}

void FileListBox::mousePressEvent(QMouseEvent *event)
{
    dragArmed_ = false;
    pressedAt_ = event->position().toPoint();
    QListView::mousePressEvent(event);
    emit MouseDown(event->button());
}

void FileListBox::mouseMoveEvent(QMouseEvent *event)
{
    const bool farEnough =
        (event->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance();
    if (dragArmed_ && event->buttons() != Qt::NoButton && farEnough) {
        dragArmed_ = false;
        StartDrag();
        return;
    }
    QListView::mouseMoveEvent(event);
}

void FileListBox::mouseReleaseEvent(QMouseEvent *event)
{
    dragArmed_ = false;
    QListView::mouseReleaseEvent(event);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void FileListBox::StartDrag()
{
    const QString name = FileName();
    if (name.isEmpty())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(FileDragData(QDir(path_).filePath(name)));
    drag->setPixmap(SkinPicture(QStringLiteral("drag_file")));
    // A copy only: a file manager taking the drop must never move the file away.
    drag->exec(Qt::CopyAction);
}

void FileListBox::ShowNames(const QStringList &files, bool sorted)
{
    QStringList matching = FilePatterns(pattern_).SortedMatches(files, sorted);
    leftOut_ = qMax<qsizetype>(matching.size() - MaxListEntries, 0);
    if (leftOut_ > 0)
        matching.resize(MaxListEntries);
    names_.SetNames(matching);
    emit Listed();
}
