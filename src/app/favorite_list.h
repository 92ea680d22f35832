#pragma once
// The favourites list's entries: one row per entry, each keeping the list-file
// record it was read from (or, for an entry added in this run, its path) and
// what the last look at its file found. The rows sit in one model and are
// read from their records only when shown, so a group of 32,767 entries fills
// at once. An entry whose file cannot be reached shows grey and italic, with
// a note on why; one whose file was played shows how far (row_marks.h).

#include "app/favorite_files.h"
#include "app/list_file.h"
#include "widgets/row_marks.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

struct ReachAnswer;
struct ReachQuestion;

class FavoriteList : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit FavoriteList(QObject *parent = nullptr);

    // Replaces every entry, in one step, with one per record that names
    // something (IsBlankRecord), in file order, up to limit entries; they keep
    // views of records, no copies. Returns the place of the first record not
    // taken (records.size() when every one was).
    qsizetype SetRecords(ListRecords records, qsizetype limit);
    // Adds an entry per path at the end.
    void AppendPaths(const QStringList &paths);
    void RemoveRow(int row);
    // Entry row names path from now on (and is stored as it).
    void ReplacePath(int row, const QString &path);
    void Clear();

    // The records the entries go back to their list file as.
    QList<QByteArray> Records() const;
    // The entries, for reading off the window's thread.
    GroupEntries Entries() const;
    // The path entry row names, as shown.
    QString Path(int row) const;
    // Whether entry row shows as one that can be played (not greyed).
    bool ShownPlayable(int row) const;
    // What the reach checker is asked about rows from..to-1.
    QList<ReachQuestion> Questions(int from, int to) const;
    // Shows what a look at an entry's file found, and the mark its file then
    // has (none for a file that cannot be reached); false when the entry is
    // no longer there (the row holds another one, or none).
    bool Show(const ReachAnswer &answer, const RowMark &mark = {});
    // Every entry naming path that can be reached shows mark.
    void MarkPath(const QString &path, const RowMark &mark);
    // The font of the rows, made italic for entries that cannot be reached.
    void SetFont(const QFont &font);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Entry
    {
        qsizetype record = -1; // its record in records_; -1 for an entry added by its path
        mutable QString path;  // read from the record when first needed
        quint64 id = 0;        // answers find their entry by it
        FavoriteReach reach = FavoriteReach::Playable;
        RowMark mark{};
    };
    void ShowChanged(int row);
    const QString &PathOf(const Entry &entry) const;

    ListRecords records_; // the list file the entries were read from
    QList<Entry> entries_;
    quint64 lastId_ = 0;
    QFont unreachableFont_;
};
