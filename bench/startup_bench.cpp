// Start-up time: from starting the process to its window being mapped on the
// X server, for Reelbox (in a fresh program folder, so a first start) and for
// an empty Qt window of the same size in the same run. Needs a display; run it
// through `make bench` (Xvfb).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

bool WindowIsMapped(const QByteArray &title)
{
    QProcess tree;
    tree.start("xwininfo", {"-root", "-tree"});
    tree.waitForFinished(5000);
    return tree.readAllStandardOutput().contains("\"" + title + "\"");
}

// Starts program and returns the seconds until a window titled title is mapped.
double SecondsToWindow(const QString &program, const QByteArray &title)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    while (!WindowIsMapped(title) && clock.elapsed() < 20000)
        QThread::msleep(1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    process.kill();
    process.waitForFinished();
    return seconds;
}

void Measure(benchmark::State &state, const QString &program, const QByteArray &title)
{
    for (auto _ : state)
        state.SetIterationTime(SecondsToWindow(program, title));
}

void BM_EmptyQtWindow(benchmark::State &state)
{
    Measure(state, QStringLiteral(BASELINE_EXECUTABLE), "Baseline");
}

void BM_ReelboxFirstStart(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString program = folder.filePath("reelbox");
    QFile::copy(QStringLiteral(REELBOX_EXECUTABLE), program);
    Measure(state, program, "Reelbox");
}

} // namespace

BENCHMARK(BM_EmptyQtWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReelboxFirstStart)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
