#pragma once
// The favourites search: a field over the favourites list, and under it, in
// the list's place, the matches of all twenty groups, each row led by its
// group's number ("[4] /videos/ep07.avi"). Down and Up choose a match, Return
// and a double click play it, Esc closes the search. The favourites list
// itself is only hidden meanwhile, never changed, so it shows again as it
// was (rows, selection, scroll), and nothing of the search can reach a list
// file. The shown group's entries are read from the list, the others' from
// their list files, on threads of their own; each group's index is built
// again only when its entries changed. A match whose file cannot be played
// now shows grey, as in the list, once a look off this thread tells. The
// window's thread never waits for the disk but at the first search after
// opening, for the list files not yet read.

#include "app/favorite_search.h"

#include <QWidget>
#include <functional>
#include <future>

class ListBox;
class QLineEdit;
class QListView;
class SearchResults;

class FavoriteSearch : public QWidget
{
    Q_OBJECT
public:
    // A search over list, whose entries are group shownGroup(); groupFile(g)
    // is where group g's list file is read.
    FavoriteSearch(ListBox *list, std::function<int()> shownGroup, std::function<QString(int)> groupFile);
    ~FavoriteSearch() override;

    QLineEdit *Field;
    QListView *Results;

    // Shows the search in the list's place, the field taking the keys.
    void Open();
    void Close();
    bool IsOpen() const { return isVisible(); }
    // Searches again for the field's text: the groups may have changed.
    void Refresh();
    // The rows shown now, as they read.
    QStringList Rows() const;

signals:
    void Play(const QString &path);
    void Opened();
    void Closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A group's index made on a thread of its own.
    struct Prepared
    {
        int group;
        GroupSource source;
        QString stamp; // the file's when built; before, the one its index has
        GroupSearchIndex index;
        bool known;   // the group's index is of this file, as stamp marks it
        bool changed; // the file is not as known, and index is new
    };
    // Starts indexing, beside the user's typing, the list files whose index
    // is out of date; what they made is taken when they are done.
    void PrepareInBackground();
    void JobFinished(quint64 round);
    bool TakePrepared();
    void UpdateIndex();
    void Search();
    void PlayCurrent();

    ListBox *list_;
    std::function<int()> shownGroup_;
    std::function<QString(int)> groupFile_;
    quint64 listChanges_ = 0;
    bool refreshQueued_ = false;
    bool prepareAgain_ = false;
    quint64 prepareRound_ = 0;
    size_t finishedJobs_ = 0;
    FavoriteSearchIndex index_;
    std::vector<std::future<std::vector<Prepared>>> preparing_;
    SearchResults *model_;
};

// The paths a group's list file holds, in order, as the list would show them:
// no blank records, at most as many as a list holds.
QStringList ListFilePaths(const QString &fileName);
