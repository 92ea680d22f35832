// What the window's thread pays to mark a full list of 32,767 played files:
// every point read in one query and each row looked up, with the files' sizes
// and times found off the thread, against asking the store and the disk once
// per row, in the same run.

#include "app/resume_marks.h"
#include "app/resume_store.h"
#include "bench_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int Rows = 32767;
QStringList paths;
QList<FileIdentity> identities; // as the look off the thread finds them
QString database;
std::map<std::string, double> seconds;

// A file per row and a point for each, written in one transaction.
void MakeList(const QTemporaryDir &folder)
{
    database = folder.filePath(QStringLiteral("Reelbox.db"));
    bench::FillResumeStore(database, Rows, [&folder](int row) {
        const QString path = folder.filePath(QStringLiteral("clip%1.avi").arg(row));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("clip");
        file.close();
        const FileIdentity identity = *IdentityOf(path);
        paths.append(path);
        identities.append(identity);
        return QVariantList{path, identity.size, identity.modified, 30.0, 60.0, 0};
    });
}

void BM_MarkList(benchmark::State &state, bool perRow, const char *name)
{
    ResumeStore store(database);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        int marked = 0;
        if (perRow) {
            for (const QString &path : paths)
                marked += store.File(path).has_value();
        } else {
            ResumeMarks marks;
            marks.Load(store);
            for (int row = 0; row < Rows; ++row)
                marked += marks.MarkOf(paths[row], identities[row]).kind != RowMark::Kind::None;
        }
        if (marked != Rows)
            state.SkipWithError("rows left unmarked");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        seconds[name] = clock.nsecsElapsed() / 1e9;
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_MarkList, per_row, true, "per row")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarkList, one_query, false, "one query")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    MakeList(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("marking %d rows on the window's thread: one query %.1f ms vs per row %.1f ms, ratio %.3f\n", Rows,
                seconds["one query"] * 1e3, seconds["per row"] * 1e3, seconds["one query"] / seconds["per row"]);
    return 0;
}
