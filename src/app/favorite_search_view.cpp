#include "app/favorite_search_view.h"

#include "app/favorite_files.h"
#include "app/list_file.h"
#include "app/reach_checker.h"
#include "base/background_thread.h"
#include "base/file_names.h"
#include "widgets/list_box.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <utility>

namespace {
constexpr int FieldHeight = 20;
const QColor FieldFrame(99, 137, 219); // the filled group markers' blue
} // namespace

// The matches as rows; they read from the index, which outlives them. Whether
// a match's file can be played is asked of a ReachChecker as its row is first
// drawn (only the rows in sight are), never of the disk on this thread; the
// row greys once the answer comes.
class SearchResults : public QAbstractListModel
{
public:
    SearchResults(const FavoriteSearchIndex &index, QObject *parent)
        : QAbstractListModel(parent)
        , index_(index)
        , reach_(new ReachChecker(this))
    {
        connect(reach_, &ReachChecker::Answered, this, &SearchResults::Take);
    }

    void Show(std::vector<SearchHit> hits)
    {
        beginResetModel();
        hits_ = std::move(hits);
        ++shown_;
        reaches_.clear();
        asked_.clear();
        endResetModel();
    }
    // More matches after those shown.
    void Append(const std::vector<SearchHit> &hits)
    {
        if (hits.empty())
            return;
        beginInsertRows({}, int(hits_.size()), int(hits_.size() + hits.size() - 1));
        hits_.insert(hits_.end(), hits.begin(), hits.end());
        endInsertRows();
    }
    QString Path(int row) const { return index_.Path(hits_[row]); }
    std::optional<SearchHit> HitAt(int row) const
    {
        return row >= 0 && row < int(hits_.size()) ? std::optional(hits_[row]) : std::nullopt;
    }
    // The row among rows from..to-1 of the match of hit's group whose path
    // is path: at hit itself when its group's entries kept their places; -1
    // when there is none.
    int RowOf(const SearchHit &hit, const QString &path, int from, int to) const
    {
        const auto first = hits_.begin() + from, last = hits_.begin() + to;
        const auto before = [](const SearchHit &a, const SearchHit &b) {
            return a.group != b.group ? a.group < b.group : a.entry < b.entry;
        };
        const auto at = std::lower_bound(first, last, hit, before);
        if (at != last && at->group == hit.group && at->entry == hit.entry && index_.Path(*at) == path)
            return int(at - hits_.begin());
        for (auto other = first; other != last; ++other)
            if (other->group == hit.group && index_.Path(*other) == path)
                return int(other - hits_.begin());
        return -1;
    }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(hits_.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const SearchHit &hit = hits_[index.row()];
        switch (role) {
        case Qt::DisplayRole: return QStringLiteral("[%1] ").arg(hit.group + 1) + DisplayFileName(index_.Path(hit));
        case Qt::ForegroundRole:
            return ReachOfRow(index.row()) == FavoriteReach::Playable ? QVariant() : QVariant(UnreachableText);
        case Qt::ToolTipRole: return ReachNote(ReachOfRow(index.row()));
        default: return {};
        }
    }

private:
    // What is known of the row's file; a row not yet answered shows as playable.
    FavoriteReach ReachOfRow(int row) const
    {
        const auto known = reaches_.constFind(row);
        if (known != reaches_.cend())
            return *known;
        if (!asked_.contains(row)) {
            asked_.insert(row);
            if (questions_.isEmpty())
                QTimer::singleShot(0, reach_, [this] { reach_->Check(std::exchange(questions_, {}), false); });
            questions_.append({shown_, row, {}, Path(row)});
        }
        return FavoriteReach::Playable;
    }

    void Take(const QList<ReachAnswer> &answers)
    {
        for (const ReachAnswer &answer : answers) {
            if (answer.entry != shown_ || answer.row >= rowCount({}))
                continue; // for matches no longer shown
            reaches_.insert(answer.row, answer.reach);
            if (answer.reach != FavoriteReach::Playable)
                emit dataChanged(index(answer.row), index(answer.row), {Qt::ForegroundRole, Qt::ToolTipRole});
        }
    }

    const FavoriteSearchIndex &index_;
    std::vector<SearchHit> hits_;
    ReachChecker *reach_;
    quint64 shown_ = 0; // which answer the rows are, for telling answers to an older one
    QHash<int, FavoriteReach> reaches_;
    mutable QSet<int> asked_;
    mutable QList<ReachQuestion> questions_;
};

FavoriteSearch::FavoriteSearch(ListBox *list, std::function<int()> shownGroup,
                               std::function<GroupEntries()> shownEntries, std::function<QString(int)> groupFile)
    : QWidget(list->parentWidget())
    , Field(new QLineEdit(this))
    , Results(new QListView(this))
    , list_(list)
    , shownGroup_(std::move(shownGroup))
    , shownEntries_(std::move(shownEntries))
    , groupFile_(std::move(groupFile))
    , model_(new SearchResults(index_, this))
{
    setAccessibleName(QStringLiteral("Favorite 検索"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Field);
    layout->addWidget(Results);

    Field->setFixedHeight(FieldHeight);
    Field->setFont(list->font());
    Field->setPlaceholderText(QStringLiteral("ファイル名で全グループを検索 (Esc で戻る)"));
    Field->setAccessibleName(QStringLiteral("検索する名前"));
    Field->setStyleSheet(QStringLiteral("QLineEdit { background: #ffffff; color: #000000; border: 2px solid %1;"
                                        " padding: 0 3px; selection-background-color: %1; }")
                             .arg(FieldFrame.name()));
    Results->setModel(model_);
    Results->setUniformItemSizes(true);
    // The rows in sight at once, the rest laid out in batches as the loop idles.
    Results->setLayoutMode(QListView::Batched);
    Results->setBatchSize(4096);
    Results->setFont(list->font());
    Results->setPalette(list->palette());
    Results->setStyleSheet(list->styleSheet());
    Results->setFrameShape(list->frameShape());
    Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Results->setAccessibleName(QStringLiteral("検索結果"));
    Results->setFocusPolicy(Qt::ClickFocus);

    Field->installEventFilter(this);
    Results->installEventFilter(this);
    connect(Field, &QLineEdit::textChanged, this, [this] {
        IndexIfTyped();
        userChose_ = false;
        Search();
    });
    connect(Results->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &now) { userChose_ = userChose_ || (!choosing_ && now.isValid()); });
    connect(Results, &QListView::doubleClicked, this, &FavoriteSearch::PlayCurrent);
    // Any change of the shown list is a change of its group's entries (a
    // group switch, a player's group key, a drive that came): the matches
    // are looked for again once the change is done.
    QAbstractItemModel *entries = list->model();
    const auto changed = [this] {
        ++listChanges_;
        RefreshSoon();
    };
    connect(entries, &QAbstractItemModel::rowsInserted, this, changed);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(entries, &QAbstractItemModel::rowsMoved, this, changed);
    connect(entries, &QAbstractItemModel::modelReset, this, changed);
    connect(entries, &QAbstractItemModel::dataChanged, this, changed);
    hide();
}

FavoriteSearch::~FavoriteSearch() = default; // waits for the indexing under way

void FavoriteSearch::Open()
{
    if (!IsOpen()) {
        open_ = true;
        setGeometry(list_->geometry());
        raise();
        list_->hide();
        show();
        Field->clear();
        Search();
        PrepareInBackground();
        emit Opened();
    }
    Field->setFocus(Qt::ShortcutFocusReason);
    Field->selectAll();
}

void FavoriteSearch::Close()
{
    if (!IsOpen())
        return;
    open_ = false;
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    next_.reset();
    model_->Show({});
    list_->show();
    if (hadFocus)
        list_->setFocus(Qt::OtherFocusReason);
    emit Closed();
}

void FavoriteSearch::Refresh()
{
    if (!IsOpen())
        return;
    IndexIfTyped();
    Search(CurrentMatch());
}

// What changed since is indexed beside the typing, its matches joining as
// they come; nothing typed finds nothing, and needs no index yet.
void FavoriteSearch::IndexIfTyped()
{
    if (!Field->text().isEmpty())
        PrepareInBackground();
}

// The match the user chose (still to be found again, while a search looks
// for it); none when the choice is the first match, as every search makes it.
std::optional<FavoriteSearch::Chosen> FavoriteSearch::CurrentMatch() const
{
    if (keep_)
        return keep_;
    const int row = Results->currentIndex().row();
    const std::optional<SearchHit> hit = model_->HitAt(row);
    if (!userChose_ || !hit)
        return std::nullopt;
    return Chosen{*hit, model_->Path(row), row};
}

// Once the changes of this turn of the event loop are all in.
void FavoriteSearch::RefreshSoon()
{
    if (!IsOpen() || refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        Refresh();
    });
}

QStringList FavoriteSearch::Rows() const
{
    QStringList rows;
    for (int row = 0; row < model_->rowCount({}); ++row)
        rows << model_->index(row).data().toString();
    return rows;
}

// Each group whose index may be out of date is looked at (a list file's
// stamp, the shown list's count of changes) and, where it changed since its
// index was built, indexed again, on two threads beside the user's typing.
// Each index is taken as soon as it is made; the shown group goes first.
void FavoriteSearch::PrepareInBackground()
{
    if (Indexing()) {
        prepareAgain_ = true; // once these are in: a group may have changed since they began
        return;
    }
    std::array<std::vector<Prepared>, 2> jobs;
    const int shown = shownGroup_();
    const GroupSource shownSource{true, listChanges_, {}};
    if (!index_.Current(shown, shownSource, {}))
        jobs[0].push_back({shown, shownSource, {}, shownEntries_(), {}, false});
    int next = 1;
    for (int group = 0; group < FavoriteSearchIndex::Groups; ++group) {
        if (group == shown)
            continue;
        const GroupSource source{false, 0, groupFile_(group)};
        const QString stamp = index_.Stamp(group);
        jobs[next++ % jobs.size()].push_back({group, source, stamp, {}, {}, index_.Current(group, source, stamp)});
    }
    finishedJobs_ = 0;
    for (std::vector<Prepared> &job : jobs)
        preparing_.push_back(
            std::async(std::launch::async, [this, round = prepareRound_, job = std::move(job)]() mutable {
                GiveWayToTheWindow();
                for (Prepared &prepared : job) {
                    if (!prepared.source.shown) {
                        const QString stamp = FileStamp(prepared.source.file);
                        if (prepared.known && stamp == prepared.stamp)
                            continue;
                        prepared.stamp = stamp;
                        prepared.entries = GroupEntries::OfFile(prepared.source.file, MaxListEntries);
                    }
                    prepared.index.Build(prepared.entries);
                    prepared.entries = {};
                    auto made = std::make_shared<Prepared>(std::move(prepared));
                    QMetaObject::invokeMethod(
                        this, [this, round, made] { Take(round, *made); }, Qt::QueuedConnection);
                }
                QMetaObject::invokeMethod(
                    this, [this, round] { JobFinished(round); }, Qt::QueuedConnection);
            }));
}

// The rows read the index: they are made anew as soon as it changes.
void FavoriteSearch::Take(quint64 round, Prepared &prepared)
{
    if (round != prepareRound_)
        return;
    const std::optional<Chosen> chosen = CurrentMatch(); // read while the rows still fit the index
    index_.Set(prepared.group, std::move(prepared.source), std::move(prepared.stamp), std::move(prepared.index));
    if (IsOpen()) // else no rows show
        Search(chosen);
}

// Once every thread of the round has told it is done (it may not quite have
// returned yet: clearing waits the moment that is left).
void FavoriteSearch::JobFinished(quint64 round)
{
    if (round != prepareRound_ || ++finishedJobs_ < preparing_.size())
        return; // others still at work
    preparing_.clear();
    ++prepareRound_;
    if (std::exchange(prepareAgain_, false))
        PrepareInBackground();
}

// Shows the matches of the field's text: what a few steps find (a screenful
// of matches, or fewer where they are rare) at once, the rest a step at a
// time as the event loop idles, so that neither a text most names hold (one
// letter) nor one none holds makes the window wait for every group.
void FavoriteSearch::Search(const std::optional<Chosen> &keeping)
{
    ++searchRound_; // a search still going on is for an older text
    keep_ = keeping;
    query_ = SearchQuery(Field->text());
    std::vector<SearchHit> hits;
    next_.reset();
    if (!query_.bytes.empty()) {
        next_ = SearchHit{0, 0};
        for (int step = 0; next_ && hits.size() < FirstMatches && step < FirstSteps; ++step)
            next_ = index_.FindFrom(query_, *next_, EntriesPerStep, hits);
    }
    model_->Show(std::move(hits));
    Choose(0);
    if (next_)
        QTimer::singleShot(0, this, [this, round = searchRound_] { SearchOn(round); });
}

void FavoriteSearch::SearchOn(quint64 round)
{
    if (round != searchRound_ || !next_)
        return;
    std::vector<SearchHit> hits;
    next_ = index_.FindFrom(query_, *next_, EntriesPerStep, hits);
    const int first = model_->rowCount({});
    model_->Append(hits);
    Choose(first);
    if (next_)
        QTimer::singleShot(0, this, [this, round] { SearchOn(round); });
}

// Chooses among the rows shown from `from` on: the match to keep chosen once
// it shows (or, once every match shows without it, the one in its place),
// else the first match.
void FavoriteSearch::Choose(int from)
{
    const int rows = model_->rowCount({});
    int row = -1;
    if (keep_) {
        row = model_->RowOf(keep_->hit, keep_->path, from, rows);
        if (row < 0 && !next_ && rows > 0) // gone: the match now in its place
            row = qMin(keep_->row, rows - 1);
        if (row >= 0)
            keep_.reset();
    } else if (!Results->currentIndex().isValid() && rows > 0) {
        row = 0;
    }
    if (row < 0)
        return;
    choosing_ = true;
    Results->setCurrentIndex(model_->index(row));
    choosing_ = false;
}

void FavoriteSearch::PlayCurrent()
{
    const QModelIndex current = Results->currentIndex();
    if (current.isValid())
        emit Play(model_->Path(current.row()));
}

bool FavoriteSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || (watched != Field && watched != Results))
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Escape: Close(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!key->isAutoRepeat())
            PlayCurrent();
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
        if (watched == Field) { // the field keeps the keys; the choice moves in the matches
            QKeyEvent copy(key->type(), key->key(), key->modifiers());
            QCoreApplication::sendEvent(Results, &copy);
            return true;
        }
        return false;
    default: return false;
    }
}
