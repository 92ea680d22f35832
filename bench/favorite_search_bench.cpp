// A keystroke's search of the favourites over twenty full groups (32,767
// entries each: nineteen list files and the shown list), against a repaint
// of the favourites list in the same run: a search answers within one repaint
// when its time is below the repaint's. Also the building of the index the
// first search needs, keystrokes with few and with very many matches, and the
// memory the index takes.

#include "app/favorite_list.h"
#include "app/favorite_search_view.h"
#include "app/list_file.h"
#include "bench_widgets.h"
#include "widgets/list_box.h"

#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int Groups = 20;
constexpr int Entries = MaxListEntries;
constexpr int ShownGroup = 0;

QString EntryPath(int group, int entry)
{
    return QStringLiteral("/media/videos/Series %1/Show %2 EP%3 エピソード.avi").arg(group).arg(entry).arg(entry % 100);
}

QByteArray GroupRecords(int group)
{
    QByteArray records;
    for (int entry = 0; entry < Entries; ++entry)
        records += EncodeListRecord(EntryPath(group, entry));
    return records;
}

// The program folder with the list files of every group but the shown one.
const QTemporaryDir &ListFolder()
{
    static const auto folder = [] {
        auto dir = std::make_unique<QTemporaryDir>();
        for (int group = 0; group < Groups; ++group) {
            if (group == ShownGroup)
                continue;
            WriteListFile(dir->filePath(ListFileTitle(group)), ListRecords(GroupRecords(group)).ToList());
        }
        return dir;
    }();
    return *folder;
}

// The favourites list as the main window has it: the shown group's entries
// as its list file held them.
std::unique_ptr<ListBox> ShownList(QWidget &parent, FavoriteList &entries)
{
    auto list = std::make_unique<ListBox>(&parent);
    list->setGeometry(16, 264, 349, 186);
    static const ListRecords records(GroupRecords(ShownGroup));
    entries.SetRecords(records, Entries);
    list->setModel(&entries);
    return list;
}

struct Window
{
    QWidget parent;
    FavoriteList entries;
    std::unique_ptr<ListBox> list = ShownList(parent, entries);
    FavoriteSearch search{list.get(), [] { return ShownGroup; }, [this] { return entries.Entries(); },
                          [](int group) { return ListFolder().filePath(ListFileTitle(group)); }};
    Window()
    {
        parent.resize(493, 530);
        parent.show();
    }
};

void BM_RepaintFavoriteList(benchmark::State &state)
{
    Window window;
    for (auto _ : state)
        benchmark::DoNotOptimize(window.list->grab());
}

// A first Ctrl+F and a keystroke typed at once, before any group is
// indexed: the keystroke until it is answered (from the groups indexed so
// far), and Ctrl+F until the matches of every group are in (the twenty
// groups read and indexed on two threads meanwhile).
void FirstKeystroke(benchmark::State &state, bool untilComplete)
{
    ListFolder();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        if (!untilComplete)
            window->search.Open();
        state.ResumeTiming();
        if (untilComplete)
            window->search.Open();
        window->search.Field->setText(QStringLiteral("ep07"));
        while (untilComplete && window->search.Indexing())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void BM_FirstKeystrokeAfterOpen(benchmark::State &state)
{
    FirstKeystroke(state, false);
}

void BM_FirstKeystrokeUntilEveryGroupIn(benchmark::State &state)
{
    FirstKeystroke(state, true);
}

// The parts of it for one group: reading its list file, and indexing its names.
void BM_ReadOneListFile(benchmark::State &state)
{
    const QString file = ListFolder().filePath(ListFileTitle(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupEntries::OfFile(file, MaxListEntries));
}

void BM_IndexOneGroup(benchmark::State &state)
{
    const GroupEntries entries = GroupEntries::OfFile(ListFolder().filePath(ListFileTitle(1)), MaxListEntries);
    GroupSearchIndex index;
    for (auto _ : state)
        index.Build(entries);
}

// Typing one more character: queries alternate so that each is a new search.
// untilAll: until every match shows, not only the first screenful.
void Keystrokes(benchmark::State &state, const QStringList &queries, bool untilAll = false)
{
    Window window;
    window.search.Open();
    while (window.search.Indexing())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    qsizetype matches = 0;
    int next = 0;
    for (auto _ : state) {
        window.search.Field->setText(queries[next]);
        next = (next + 1) % queries.size();
        while (untilAll && window.search.Matching())
            QApplication::processEvents();
        matches = window.search.Results->model()->rowCount();
    }
    state.counters["matches"] = double(matches);
}

void BM_KeystrokeFewMatches(benchmark::State &state)
{
    Keystrokes(state, {QStringLiteral("show 1234 ep3"), QStringLiteral("show 1234 ep34")});
}

void BM_KeystrokeNoMatch(benchmark::State &state)
{
    Keystrokes(state, {QStringLiteral("zq"), QStringLiteral("zqx")});
}

void BM_KeystrokeFullWidthSomeMatches(benchmark::State &state)
{
    Keystrokes(state, {QStringLiteral("ＥＰ７"), QStringLiteral("ＥＰ７７")});
}

void BM_KeystrokeEveryEntryMatches(benchmark::State &state)
{
    Keystrokes(state, {QStringLiteral("ｴﾋﾟ"), QStringLiteral("ｴﾋﾟｿ")});
}

void BM_KeystrokeEveryEntryMatchesUntilAllShow(benchmark::State &state)
{
    Keystrokes(state, {QStringLiteral("ｴﾋﾟ"), QStringLiteral("ｴﾋﾟｿ")}, true);
}

QStringList GroupPaths(int group)
{
    QStringList paths;
    for (int entry = 0; entry < Entries; ++entry)
        paths << EntryPath(group, entry);
    return paths;
}

GroupEntries GroupOf(int group)
{
    if (group != ShownGroup)
        return GroupEntries::OfFile(ListFolder().filePath(ListFileTitle(group)), MaxListEntries);
    return GroupEntries::OfPaths(GroupPaths(ShownGroup));
}

std::unique_ptr<FavoriteSearchIndex> FullIndex()
{
    auto index = std::make_unique<FavoriteSearchIndex>();
    for (int group = 0; group < Groups; ++group) {
        const QString file = ListFolder().filePath(ListFileTitle(group));
        GroupSearchIndex built;
        built.Build(GroupOf(group));
        index->Set(group, {false, 0, file}, FileStamp(file), std::move(built));
    }
    return index;
}

// The matching alone, without the rows that show it.
void FindOnly(benchmark::State &state, const QString &query)
{
    const std::unique_ptr<FavoriteSearchIndex> index = FullIndex();
    for (auto _ : state)
        benchmark::DoNotOptimize(index->Find(query));
}

// What this process has allocated and not freed, in megabytes: unlike the
// resident size, blind to memory freed before and kept for reuse.
double AllocatedMegabytes()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1e6;
}

// The memory the index of every group takes, against the same paths held
// as a list of strings, the plainest way to keep them, in the same run.
template <typename Make>
void Memory(benchmark::State &state, Make make)
{
    for (auto _ : state) {
        const double before = AllocatedMegabytes();
        const auto held = make();
        state.counters["MB"] = AllocatedMegabytes() - before;
        benchmark::DoNotOptimize(held);
    }
}

void BM_MemoryOfPathsAsStrings(benchmark::State &state)
{
    Memory(state, [] {
        std::vector<QStringList> paths;
        for (int group = 0; group < Groups; ++group)
            paths.push_back(GroupPaths(group));
        return paths;
    });
}

void BM_MemoryOfTheIndex(benchmark::State &state)
{
    Memory(state, [&state] {
        std::unique_ptr<FavoriteSearchIndex> index = FullIndex();
        state.counters["counted MB"] = double(index->Bytes()) / 1e6;
        return index;
    });
}

void BM_FindOnlyNoMatch(benchmark::State &state)
{
    FindOnly(state, QStringLiteral("zqx"));
}

void BM_FindOnlyEveryEntry(benchmark::State &state)
{
    FindOnly(state, QStringLiteral("ｴﾋﾟｿ"));
}

} // namespace

BENCHMARK(BM_MemoryOfPathsAsStrings)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemoryOfTheIndex)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FindOnlyNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindOnlyEveryEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFavoriteList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstKeystrokeAfterOpen)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstKeystrokeUntilEveryGroupIn)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadOneListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexOneGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeFewMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeFullWidthSomeMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeEveryEntryMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeEveryEntryMatchesUntilAllShow)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::RunWidgetBenchmarks(argc, argv);
}
