#pragma once
// One reading of a folder: the names of its subfolders and of its files, as a
// file manager lists them (hidden entries left out). The folder list and the
// file list both show what one reading found, so a folder is read once each
// time the user opens it, however many lists show it.

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>
#include <thread>

struct FolderListing
{
    QString folder; // absolute, "/" separators
    QStringList subfolders;
    QStringList files;
    bool sorted = false; // both lists as a file manager sorts them; else as found
};

enum class FolderOrder { AsFound, Natural };

// Reads folder, its names sorted or as found; nullopt when it does not exist
// or cannot be read.
std::optional<FolderListing> ReadFolder(const QString &folder, FolderOrder order = FolderOrder::AsFound);

// Reads a folder, sorted, on a thread of its own from its creation, so that a
// window being built meanwhile finds it read: the folder shown at start-up.
class FolderPrefetch
{
public:
    explicit FolderPrefetch(const QString &folder);
    ~FolderPrefetch();
    // The reading of folder, once (waiting for it); nullopt for another folder.
    std::optional<FolderListing> Take(const QString &folder);

private:
    QString folder_;
    std::optional<FolderListing> listing_;
    std::thread reader_;
};

// The ";"-separated file patterns of a file-type filter ("*.avi;*.mpg"),
// matched without regard to letter case. Patterns of the form "*.ext" are
// compared as name endings, the rest as wildcards.
class FilePatterns
{
public:
    explicit FilePatterns(const QString &patterns);
    bool Matches(const QString &name) const;
    // The matching names, sorted as a file manager sorts them (kept in their
    // order when they are sorted already).
    QStringList SortedMatches(const QStringList &names, bool alreadySorted = false) const;

private:
    QStringList endings_;                 // ".avi"
    QList<QRegularExpression> wildcards_; // anything else
};
