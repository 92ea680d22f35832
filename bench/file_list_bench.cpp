// Listing a folder of 20,000 video files through the file list, against a bare
// QDir listing of the same folder in the same run, and switching the filter.

#include "base/folder_listing.h"
#include "base/natural_sort.h"
#include "bench_widgets.h"
#include "widgets/file_list_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace {

const QString AllKinds = QStringLiteral("*.ram;*.rm;*.avi;*.mpeg;*.mpg;*.asf;*.wmv;*.divx;*.dat;*.rmvb");
constexpr int FileCount = 20000;

// A folder of FileCount empty clips with mixed endings and numbered names.
const QTemporaryDir &ClipFolder()
{
    static const auto folder = [] {
        auto dir = std::make_unique<QTemporaryDir>();
        const char *endings[] = {"avi", "MPG", "wmv", "rmvb", "asf"};
        for (int i = 0; i < FileCount; ++i) {
            QFile file(dir->filePath(QStringLiteral("Clip %1.%2").arg(i).arg(QLatin1String(endings[i % 5]))));
            file.open(QIODevice::WriteOnly);
        }
        return dir;
    }();
    return *folder;
}

void BM_BareQDirListing(benchmark::State &state)
{
    const QString path = ClipFolder().path();
    for (auto _ : state) {
        QDir dir(path, QString(), QDir::NoSort, QDir::Files);
        dir.setNameFilters(AllKinds.split(QLatin1Char(';')));
        benchmark::DoNotOptimize(dir.entryList());
    }
}

void BM_File1Listing(benchmark::State &state)
{
    const QString path = ClipFolder().path();
    FileListBox list;
    list.SetPattern(AllKinds);
    for (auto _ : state) {
        list.SetPath(path);
        benchmark::DoNotOptimize(list.ListCount());
    }
}

// The parts of a listing, one at a time.
QStringList ClipNames()
{
    return QDir(ClipFolder().path(), QString(), QDir::NoSort, QDir::Files).entryList();
}

void BM_ReadNamesOnly(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ClipNames());
}

void BM_ReadFolder(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadFolder(ClipFolder().path()));
}

void BM_MatchPatterns(benchmark::State &state)
{
    const QStringList names = ClipNames();
    const FilePatterns patterns(AllKinds);
    for (auto _ : state) {
        int matching = 0;
        for (const QString &name : names)
            matching += patterns.Matches(name);
        benchmark::DoNotOptimize(matching);
    }
}

void BM_SortNaturally(benchmark::State &state)
{
    const QStringList names = ClipNames();
    for (auto _ : state) {
        QStringList copy = names;
        SortNaturally(copy);
        benchmark::DoNotOptimize(copy);
    }
}

void BM_File1FilterSwitch(benchmark::State &state)
{
    FileListBox list;
    list.SetPattern(AllKinds);
    list.SetPath(ClipFolder().path());
    bool all = false;
    for (auto _ : state) {
        list.SetPattern(all ? AllKinds : QStringLiteral("*.avi"));
        all = !all;
    }
}

} // namespace

BENCHMARK(BM_BareQDirListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File1Listing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNamesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchPatterns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNaturally)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_File1FilterSwitch)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::RunWidgetBenchmarks(argc, argv);
}
