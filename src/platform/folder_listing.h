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

struct FolderListing
{
    QString folder;         // absolute, "/" separators
    QStringList subfolders; // unsorted
    QStringList files;      // unsorted
};

// Reads folder; nullopt when it does not exist or cannot be read.
std::optional<FolderListing> ReadFolder(const QString &folder);

// The ";"-separated file patterns of a file-type filter ("*.avi;*.mpg"),
// matched without regard to letter case. Patterns of the form "*.ext" are
// compared as name endings, the rest as wildcards.
class FilePatterns
{
public:
    explicit FilePatterns(const QString &patterns);
    bool Matches(const QString &name) const;
    // The matching names, sorted as a file manager sorts them.
    QStringList SortedMatches(const QStringList &names) const;

private:
    QStringList endings_;                 // ".avi"
    QList<QRegularExpression> wildcards_; // anything else
};
