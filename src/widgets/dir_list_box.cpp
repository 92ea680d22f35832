#include "widgets/dir_list_box.h"

#include "base/file_names.h"
#include "base/mount_table.h"
#include "base/natural_sort.h"
#include "base/program_name.h"
#include "widgets/accessible_lists.h"
#include "widgets/picture_label.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>

QList<FolderRow> FolderTreeRows(const FolderListing &listing)
{
    QList<FolderRow> rows;
    QDir dir(listing.folder);
    QStringList chain;
    do {
        chain.prepend(dir.absolutePath());
    } while (dir.cdUp());
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString name = depth == 0 ? chain[0] : QFileInfo(chain[depth]).fileName();
        rows.append({chain[depth], name, depth, true});
    }
    QStringList subfolders = listing.subfolders;
    if (!listing.sorted)
        SortNaturally(subfolders);
    const QDir folder(listing.folder);
    for (const QString &name : subfolders)
        rows.append({folder.filePath(name), name, int(chain.size()), false});
    return rows;
}

DirListBox::DirListBox(QWidget *parent)
    : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemDoubleClicked, this, &DirListBox::OnDoubleClick);
    MakeListAccessible(this);
}

bool DirListBox::SetPath(const QString &folder, std::optional<FolderListing> reading)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (path == path_ && !path_.isEmpty())
        return true;
    std::optional<FolderListing> listing = reading && reading->folder == path ? std::move(reading) : ReadFolder(path);
    if (!listing)
        return false;
    path_ = path;
    listing_ = std::move(*listing);
    lastFolderOnDrive_.insert(MountTable::Current().RootOf(path), path);
    Fill();
    emit Change();
    return true;
}

std::optional<PlatformError> DirListBox::OpenDrive(const QString &root)
{
    const QString remembered = lastFolderOnDrive_.value(root);
    if ((!remembered.isEmpty() && SetPath(remembered)) || SetPath(root))
        return std::nullopt;
    return PlatformError{DeviceUnavailable, ProgramName, QStringLiteral("Device unavailable")};
}

void DirListBox::Fill()
{
    clear();
    for (const FolderRow &row : FolderTreeRows(listing_))
        AddEntry(row.path, row.name, row.depth, row.open);
    setCurrentRow(-1);
}

void DirListBox::AddEntry(const QString &path, const QString &name, int depth, bool open)
{
    // The program's own picture: the desktop theme's folder icon costs a
    // search through the icon themes, a fifth of the start-up.
    static const QIcon folder(SkinPicture(QStringLiteral("folder")));
    auto *item = new QListWidgetItem(folder, QString(depth * 2, QLatin1Char(' ')) + DisplayFileName(name), this);
    item->setData(Qt::UserRole, path);
    if (path == path_) {
        QFont font = item->font();
        font.setBold(open);
        item->setFont(font);
    }
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        OnDoubleClick(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::OnDoubleClick(QListWidgetItem *item)
{
    SetPath(item->data(Qt::UserRole).toString());
}
