// What opening the store of resume points costs at start-up on a big
// database (300,000 file points): the store's own opening, against a
// `PRAGMA quick_check` of the same file in the same run, which reads every
// page of it before the window could show.

#include "app/resume_store.h"

#include "bench_media.h"
#include "bench_store.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <benchmark/benchmark.h>
#include <map>

namespace {

QString database;
std::map<std::string, std::vector<double>> times;

void BM_StoreOpens(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const ResumeStore store(database);
        benchmark::DoNotOptimize(store.SetAside());
        times["open"].push_back(clock.nsecsElapsed() / 1e9);
    }
}

void BM_QuickCheck(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(database);
            db.open();
            QSqlQuery check(db);
            check.exec(QStringLiteral("PRAGMA quick_check"));
            check.next();
            benchmark::DoNotOptimize(check.value(0));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        times["quick_check"].push_back(clock.nsecsElapsed() / 1e9);
    }
}

} // namespace

BENCHMARK(BM_StoreOpens)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickCheck)->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    database = dir.filePath(QStringLiteral("Reelbox.db"));
    bench::FillResumeStore(database, 300'000, [](int i) {
        return QVariantList{QStringLiteral("/media/videos/some folder/episode %1 of a long series.avi").arg(i),
                            700'000'000 + i,
                            1'700'000'000'000LL + i,
                            i % 1500,
                            1500.0,
                            0};
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double open = bench::Median(times["open"]), check = bench::Median(times["quick_check"]);
    std::printf("store open: median %.2f ms vs quick_check %.1f ms, ratio %.4f\n", open * 1e3, check * 1e3,
                open / check);
    return 0;
}
