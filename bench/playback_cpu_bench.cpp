// CPU cost of playback: CPU seconds (user + system, all threads) spent per
// second of a 720p clip played in real time to its end. Ours: the player
// window's sequence through FilgraphManager and MpvEngine in a shown window,
// with the window's 10 ms poll of position and length. Theirs: the mpv command
// on the same clip with the same decoding options, in its own window. Counts
// each process from its start (engine or program) to the end of the clip; the
// X server's own work is counted for neither. Needs a display; run it through
// `make bench` (Xvfb).

#include "bench_media.h"
#include "media/filgraph_manager.h"
#include "media/mpv_engine.h"

#include <QApplication>
#include <QDialog>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <clocale>
#include <map>
#include <memory>

namespace {

constexpr int kClipSeconds = 10;
QString clip;
std::map<std::string, std::vector<double>> costs; // CPU seconds per playback second

void Record(benchmark::State &state, const std::string &name, double cpuPerSecond)
{
    state.SetIterationTime(cpuPerSecond);
    state.counters["cpu_per_s"] = cpuPerSecond;
    costs[name].push_back(cpuPerSecond);
}

void BM_ReelboxPlayback720p(benchmark::State &state)
{
    for (auto _ : state) {
        const double before = bench::CpuSeconds(RUSAGE_SELF);
        QDialog window;
        window.setWindowTitle("Reelbox player");
        QWidget *display = new QWidget(&window);
        auto engine = std::make_unique<MpvEngine>();
        engine->VideoWidget()->setParent(display);
        auto graphOwner = std::make_unique<FilgraphManager>(*engine);
        FilgraphManager &graph = *graphOwner;
        bool ended = false;
        QObject::connect(&graph, &FilgraphManager::EndOfStream, [&] { ended = true; });
        graph.RenderFile(clip);
        graph.Owner(display);
        graph.MessageDrain(display);
        const int width = graph.Width().value_or(1280), height = graph.Height().value_or(720);
        window.resize(width, height + 53);
        display->setGeometry(0, 20, width, height);
        graph.SetWindowPosition(0, 0, width, height);
        const double seconds = graph.Duration().value_or(kClipSeconds);
        graph.Run();
        graph.CurrentPosition(0);
        window.show();
        QTimer poll; // the window's timer: reads position and length every 10 ms
        double sink = 0;
        QObject::connect(&poll, &QTimer::timeout,
                         [&] { sink += graph.Duration().value_or(0) - graph.CurrentPosition().value_or(0); });
        poll.start(10);
        if (!bench::WaitFor([&] { return ended; }, (kClipSeconds + 20) * 1000))
            state.SkipWithError("the clip did not end");
        poll.stop();
        graphOwner.reset(); // the graph goes before its engine
        engine.reset();
        benchmark::DoNotOptimize(sink);
        Record(state, "ours", (bench::CpuSeconds(RUSAGE_SELF) - before) / seconds);
    }
}

void BM_MpvCommandPlayback720p(benchmark::State &state)
{
    if (!bench::HaveMpvCommand()) {
        state.SkipWithError("the mpv command is not installed (scripts/bench installs it)");
        return;
    }
    for (auto _ : state) {
        const double before = bench::CpuSeconds(RUSAGE_CHILDREN);
        QProcess mpv;
        mpv.start("mpv", bench::MpvCommandOptions() << "--really-quiet" << clip);
        if (!mpv.waitForFinished((kClipSeconds + 20) * 1000) || mpv.exitCode() != 0)
            state.SkipWithError("mpv did not play the clip to its end");
        Record(state, "mpv", (bench::CpuSeconds(RUSAGE_CHILDREN) - before) / kClipSeconds);
    }
}

} // namespace

BENCHMARK(BM_MpvCommandPlayback720p)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReelboxPlayback720p)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    clip = bench::MakeClip(dir, "clip720p.avi", "1280x720", kClipSeconds);
    if (clip.isEmpty())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double ours = bench::Median(costs["ours"]), theirs = bench::Median(costs["mpv"]);
    if (ours > 0 && theirs > 0)
        std::printf("720p playback: %.3f CPU s per second vs mpv command %.3f, ours/mpv = %.2f\n", ours, theirs,
                    ours / theirs);
    return 0;
}
