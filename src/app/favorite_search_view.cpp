#include "app/favorite_search_view.h"

#include "app/favorite_files.h"
#include "app/list_file.h"
#include "base/file_names.h"
#include "widgets/list_box.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int FieldHeight = 20;
const QColor FieldFrame(99, 137, 219); // the filled group markers' blue
} // namespace

// The matches as rows; they read from the index, which outlives them.
class SearchResults : public QAbstractListModel
{
public:
    SearchResults(const FavoriteSearchIndex &index, QObject *parent)
        : QAbstractListModel(parent)
        , index_(index)
    {
    }

    void Show(std::vector<SearchHit> hits)
    {
        beginResetModel();
        hits_ = std::move(hits);
        endResetModel();
    }
    const QString &Path(int row) const { return index_.Path(hits_[row]); }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(hits_.size()); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const SearchHit &hit = hits_[index.row()];
        switch (role) {
        case Qt::DisplayRole: return QStringLiteral("[%1] ").arg(hit.group + 1) + DisplayFileName(index_.Path(hit));
        // Looked at as the row is drawn: only the rows in sight are.
        case Qt::ForegroundRole:
            return ReachOf(index_.Path(hit)) == FavoriteReach::Playable ? QVariant() : QVariant(UnreachableText);
        case Qt::ToolTipRole: return ReachNote(ReachOf(index_.Path(hit)));
        default: return {};
        }
    }

private:
    const FavoriteSearchIndex &index_;
    std::vector<SearchHit> hits_;
};

QStringList ListFilePaths(const QString &fileName)
{
    QStringList paths;
    const ListRecords records = ReadListRecords(fileName);
    for (qsizetype r = 0; r < records.size() && paths.size() < MaxListEntries; ++r) {
        if (!IsBlankRecord(records.at(r)))
            paths.append(DecodeListRecord(records.at(r)));
    }
    return paths;
}

FavoriteSearch::FavoriteSearch(ListBox *list, std::function<int()> shownGroup, std::function<QString(int)> groupFile)
    : QWidget(list->parentWidget())
    , Field(new QLineEdit(this))
    , Results(new QListView(this))
    , list_(list)
    , shownGroup_(std::move(shownGroup))
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
    connect(Field, &QLineEdit::textChanged, this, &FavoriteSearch::Search);
    connect(Results, &QListView::doubleClicked, this, &FavoriteSearch::PlayCurrent);
    // Any change of the shown list is a change of its group's entries (a
    // group switch, a player's group key, a drive that came): the matches
    // are looked for again once the change is done.
    QAbstractItemModel *entries = list->model();
    const auto changed = [this] {
        ++listChanges_;
        if (IsOpen() && !refreshQueued_) {
            refreshQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                refreshQueued_ = false;
                Refresh();
            });
        }
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
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
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
    const int row = Results->currentIndex().row();
    Search();
    if (row >= 0 && row < model_->rowCount({}))
        Results->setCurrentIndex(model_->index(row));
}

QStringList FavoriteSearch::Rows() const
{
    QStringList rows;
    for (int row = 0; row < model_->rowCount({}); ++row)
        rows << model_->index(row).data().toString();
    return rows;
}

void FavoriteSearch::PrepareInBackground()
{
    if (!preparing_.empty())
        return;
    // Two threads, each taking every other list file that is out of date.
    std::array<std::vector<Prepared>, 2> jobs;
    int next = 0;
    for (int group = 0; group < FavoriteSearchIndex::Groups; ++group) {
        if (group == shownGroup_())
            continue;
        const QString file = groupFile_(group);
        const GroupSource source{false, 0, file};
        const QString stamp = FileStamp(file);
        if (!index_.Current(group, source, stamp))
            jobs[next++ % jobs.size()].push_back({group, source, stamp, {}});
    }
    for (std::vector<Prepared> &job : jobs) {
        if (job.empty())
            continue;
        preparing_.push_back(std::async(std::launch::async, [job = std::move(job)]() mutable {
            for (Prepared &prepared : job)
                prepared.index.Build(ListFilePaths(prepared.source.file));
            return std::move(job);
        }));
    }
}

// What a list file held when its indexing began: a file changed since then
// has another stamp, and UpdateIndex indexes it again.
void FavoriteSearch::TakePrepared()
{
    for (std::future<std::vector<Prepared>> &future : preparing_)
        for (Prepared &prepared : future.get())
            index_.Set(prepared.group, std::move(prepared.source), std::move(prepared.stamp),
                       std::move(prepared.index));
    preparing_.clear();
}

void FavoriteSearch::UpdateIndex()
{
    TakePrepared();
    const int shown = shownGroup_();
    for (int group = 0; group < FavoriteSearchIndex::Groups; ++group) {
        if (group == shown) {
            index_.Refresh(group, {true, listChanges_, {}}, {}, [this] { return list_->Entries(); });
        } else {
            const QString file = groupFile_(group);
            index_.Refresh(group, {false, 0, file}, FileStamp(file), [&file] { return ListFilePaths(file); });
        }
    }
}

void FavoriteSearch::Search()
{
    // Nothing typed finds nothing, and needs no index yet.
    if (!Field->text().isEmpty())
        UpdateIndex();
    model_->Show(index_.Find(Field->text()));
    if (model_->rowCount({}) > 0)
        Results->setCurrentIndex(model_->index(0));
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
