#include "platform/file_list_box.h"

#include "platform/natural_sort.h"

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

bool FileListBox::Fill(const QString &folder)
{
    QStringList names;
    if (!MatchingFiles(folder, pattern_, names))
        return false;
    clear();
    addItems(names);
    return true;
}
