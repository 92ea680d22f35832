#include "platform/file_list_box.h"

#include "platform/drop_formats.h"
#include "platform/natural_sort.h"
#include "platform/picture_label.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include <QDir>
#include <QFileInfo>

bool MatchingFiles(const QString &folder, const QString &patterns, QStringList &names)
{
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QStringList filters = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    dir.setNameFilters(filters);
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Unsorted);
    names = dir.entryList();
    SortNaturally(names);
    return true;
}

FileListBox::FileListBox(QWidget *parent)
    : QListWidget(parent)
{
    setUniformItemSizes(true);
}

bool FileListBox::SetPath(const QString &folder)
{
    if (!Fill(folder))
        return false;
    path_ = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return true;
}

void FileListBox::SetPattern(const QString &patterns)
{
    pattern_ = patterns;
    if (!path_.isEmpty())
        Fill(path_);
}

QString FileListBox::FileName() const
{
    const QListWidgetItem *item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QString FileListBox::List(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

int FileListBox::FirstVisibleRow() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void FileListBox::SetFirstVisibleRow(int row)
{
    if (QListWidgetItem *entry = item(qMin(row, count() - 1)))
        scrollToItem(entry, QAbstractItemView::PositionAtTop);
}

void FileListBox::Drag()
{
    dragArmed_ = true;
}

QMimeData *FileListBox::FileDragData(const QString &path)
{
    auto *data = new QMimeData;
    data->setData(FileDragFormat, path.toUtf8());
    return data;
}

QString FileListBox::DraggedFile(const QMimeData *data)
{
    return data ? QString::fromUtf8(data->data(FileDragFormat)) : QString();
}

void FileListBox::mousePressEvent(QMouseEvent *event)
{
    dragArmed_ = false;
    pressedAt_ = event->position().toPoint();
    QListWidget::mousePressEvent(event);
    emit MouseDown(event->button());
}

void FileListBox::mouseMoveEvent(QMouseEvent *event)
{
    const bool farEnough = (event->position().toPoint() - pressedAt_).manhattanLength()
        >= QApplication::startDragDistance();
    if (dragArmed_ && event->buttons() != Qt::NoButton && farEnough) {
        dragArmed_ = false;
        StartDrag();
        return;
    }
    QListWidget::mouseMoveEvent(event);
}

void FileListBox::mouseReleaseEvent(QMouseEvent *event)
{
    dragArmed_ = false;
    QListWidget::mouseReleaseEvent(event);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
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
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool FileListBox::Fill(const QString &folder)
{
    QStringList names;
    if (!MatchingFiles(folder, pattern_, names))
        return false;
    clear();
    addItems(names);
    return true;
}
