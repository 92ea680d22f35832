#pragma once
// The favourites search: a field over the favourites list, and under it, in
// the list's place, the matches of all twenty groups, each row led by its
// group's number ("[4] /videos/ep07.avi"). Down and Up choose a match, Return
// and a double click play it, Esc closes the search. The favourites list
// itself is only hidden meanwhile, never changed, so it shows again as it
// was (rows, selection, scroll), and nothing of the search can reach a list
// file. Each group's index is built again only when its entries changed, on
// threads of their own: the shown group's from the list, the others' from
// their list files. A keystroke never waits for them: it answers from the
// groups indexed so far, and the matches of each group join as its index
// comes, the chosen match staying chosen. A match whose file cannot be
// played now shows grey, as in the list, once a look off this thread tells.

#include "app/favorite_search.h"

#include <QWidget>
#include <functional>
#include <future>
#include <optional>

class ListBox;
class QLineEdit;
class QListView;
class SearchResults;

class FavoriteSearch : public QWidget
{
    Q_OBJECT
public:
    // A search over list, which shows group shownGroup(), whose entries
    // shownEntries() gives; groupFile(g) is where group g's list file is read.
    FavoriteSearch(ListBox *list, std::function<int()> shownGroup, std::function<GroupEntries()> shownEntries,
                   std::function<QString(int)> groupFile);
    ~FavoriteSearch() override;

    QLineEdit *Field;
    QListView *Results;

    // Shows the search in the list's place, the field taking the keys.
    void Open();
    void Close();
    bool IsOpen() const { return open_; }
    // Searches again for the field's text: the groups may have changed.
    void Refresh();
    // The rows shown now, as they read.
    QStringList Rows() const;
    // True while groups are being indexed: their matches are yet to come.
    bool Indexing() const { return !preparing_.empty(); }
    // True while the matches of what was typed are still being looked for.
    bool Matching() const { return next_.has_value(); }

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
        QString stamp;        // the file's when built; before, the one its index has
        GroupEntries entries; // the shown group's; a list file's are read there
        GroupSearchIndex index;
        bool known; // the group's index is of this file, as stamp marks it
    };
    // Starts indexing, beside the user's typing, the groups whose index is
    // out of date; each group's is taken as soon as it is made.
    void PrepareInBackground();
    void Take(quint64 round, Prepared &prepared);
    void JobFinished(quint64 round);
    void RefreshSoon();
    void IndexIfTyped();
    // A match the user chose, to be chosen again once the matches changed.
    struct Chosen
    {
        SearchHit hit;
        QString path;
        int row;
    };
    std::optional<Chosen> CurrentMatch() const;
    // Shows the matches of the field's text, keeping chosen what was.
    void Search(const std::optional<Chosen> &keeping = std::nullopt);
    void SearchOn(quint64 round);
    void Choose(int from);
    void PlayCurrent();

    ListBox *list_;
    std::function<int()> shownGroup_;
    std::function<GroupEntries()> shownEntries_;
    std::function<QString(int)> groupFile_;
    quint64 listChanges_ = 0;
    bool refreshQueued_ = false;
    bool prepareAgain_ = false;
    quint64 prepareRound_ = 0;
    size_t finishedJobs_ = 0;
    FavoriteSearchIndex index_;
    bool open_ = false;
    bool userChose_ = false; // the chosen match is the user's choice, not the first one
    bool choosing_ = false;  // the search itself is choosing a match
    // The search in steps: what it looks for, where it goes on, what it keeps chosen.
    static constexpr size_t FirstMatches = 64;       // more than a screenful of rows
    static constexpr int FirstSteps = 4;             // before the first answer, at most
    static constexpr size_t EntriesPerStep = 65'536; // a tenth to half a millisecond
    quint64 searchRound_ = 0;
    SearchQuery query_{QString()};
    std::optional<SearchHit> next_;
    std::optional<Chosen> keep_;
    std::vector<std::future<void>> preparing_;
    SearchResults *model_;
};
