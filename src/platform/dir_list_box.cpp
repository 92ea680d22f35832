#include "platform/dir_list_box.h"

#include "platform/natural_sort.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStorageInfo>

QList<FolderRow> FolderTreeRows(const QString &folder)
{
    QList<FolderRow> rows;
    QDir dir(folder);
    QStringList chain;
    do {
        chain.prepend(dir.absolutePath());
    } while (dir.cdUp());
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString name = depth == 0 ? chain[0] : QFileInfo(chain[depth]).fileName();
        rows.append({chain[depth], name, depth, true});
    }
    QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    SortNaturally(subfolders);
    for (const QString &name : subfolders)
        rows.append({QDir(folder).filePath(name), name, int(chain.size()), false});
    return rows;
}

DirListBox::DirListBox(QWidget *parent)
    : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemDoubleClicked, this, &DirListBox::OnDoubleClick);
}

bool DirListBox::SetPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !QDir(info.absoluteFilePath()).isReadable())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    const bool changed = path != path_;
    path_ = path;
    lastFolderOnDrive_.insert(QStorageInfo(path).rootPath(), path);
    Fill();
    if (changed)
        emit Change();
    return true;
}

std::optional<PlatformError> DirListBox::OpenDrive(const QString &root)
{
    const QString remembered = lastFolderOnDrive_.value(root);
    if ((!remembered.isEmpty() && SetPath(remembered)) || SetPath(root))
        return std::nullopt;
    return PlatformError{DeviceUnavailable, QStringLiteral("Reelbox"), QStringLiteral("Device unavailable")};
}

void DirListBox::Fill()
{
    clear();
    for (const FolderRow &row : FolderTreeRows(path_))
        AddEntry(row.path, row.name, row.depth, row.open);
    setCurrentRow(-1);
}

void DirListBox::AddEntry(const QString &path, const QString &name, int depth, bool open)
{
    static const QFileIconProvider icons;
    auto *item = new QListWidgetItem(icons.icon(QFileIconProvider::Folder),
                                     QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(Qt::UserRole, path);
    if (path == path_) {
        QFont font = item->font();
        font.setBold(open);
        item->setFont(font);
    }
}

void DirListBox::OnDoubleClick(QListWidgetItem *item)
{
    SetPath(item->data(Qt::UserRole).toString());
}
