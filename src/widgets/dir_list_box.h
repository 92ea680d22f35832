#pragma once
// The folder choice: the folders from the root of the current drive down to the
// current folder, then the current folder's subfolders, indented like a tree.
// A double-click, or Return on the chosen one, opens a folder.

#include "base/folder_listing.h"
#include "base/platform_error.h"

#include <QHash>
#include <QListWidget>
#include <optional>

class DirListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget *parent = nullptr);

    // The current folder (absolute, "/" separators, no trailing separator
    // except for a root).
    QString Path() const { return path_; }
    // Opens folder (a bare drive opens its root), reading it once, or taking
    // a reading of it made already. Raises Change when the folder changed; the
    // folder shown already is not read again. A folder that does not exist or
    // cannot be read is refused and the list stays as it was (returns false).
    bool SetPath(const QString &folder, std::optional<FolderListing> reading = std::nullopt);
    // What the reading of the current folder found, for the file list.
    const FolderListing &Listing() const { return listing_; }
    // Opens a drive given by its mount point: the folder this list last showed
    // on it, else its root, as a drive keeps its current folder. When the drive
    // cannot be read the list stays as it was and the error says why.
    std::optional<PlatformError> OpenDrive(const QString &root);

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Fill();
    void AddEntry(const QString &path, const QString &name, int depth, bool open);
    void OnDoubleClick(QListWidgetItem *item);

    QString path_;
    FolderListing listing_;
    QHash<QString, QString> lastFolderOnDrive_;
};

// The rows of a folder tree for a listed folder: each ancestor from the root
// down, the folder itself, then its subfolders (sorted as a file manager sorts
// them).
struct FolderRow
{
    QString path;
    QString name;
    int depth;
    bool open; // an ancestor or the folder itself
};
QList<FolderRow> FolderTreeRows(const FolderListing &listing);
