// CPU cost of playback: CPU seconds (user + system, all threads) spent per
// second of a 720p clip played in real time to its end, in a 1280x720
// window, and the frames a second shown. Ours: the player window's sequence
// through FilgraphManager and MpvEngine in a shown window, with the window's
// 10 ms poll of position and length, on each drawing route (forced by
// REELBOX_VIDEO_ROUTE). Theirs: the mpv command on the same clip with the same
// decoding options and its X11 output (a software conversion into a shared
// image, the cheapest way mpv shows video where OpenGL is software). Counts
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
std::map<std::string, std::vector<double>> rates; // frames shown per second

void Record(benchmark::State &state, const std::string &name, double cpuPerSecond)
{
    state.SetIterationTime(cpuPerSecond);
    state.counters["cpu_per_s"] = cpuPerSecond;
    costs[name].push_back(cpuPerSecond);
}

void BM_ReelboxPlayback720p(benchmark::State &state, const char *route)
{
    qputenv("REELBOX_VIDEO_ROUTE", route);
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
        const int framesBefore = engine->FramesDrawn();
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
        const double fps = (engine->FramesDrawn() - framesBefore) / seconds;
        state.counters["fps"] = fps;
        rates[route].push_back(fps);
        graphOwner.reset(); // the graph goes before its engine
        engine.reset();
        benchmark::DoNotOptimize(sink);
        Record(state, route, (bench::CpuSeconds(RUSAGE_SELF) - before) / seconds);
    }
    qunsetenv("REELBOX_VIDEO_ROUTE");
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
        mpv.start("mpv", bench::MpvCommandOptions() << "--vo=x11"
                                                    << "--really-quiet" << clip);
        if (!mpv.waitForFinished((kClipSeconds + 20) * 1000) || mpv.exitCode() != 0)
            state.SkipWithError("mpv did not play the clip to its end");
        Record(state, "mpv", (bench::CpuSeconds(RUSAGE_CHILDREN) - before) / kClipSeconds);
    }
}

} // namespace

BENCHMARK(BM_MpvCommandPlayback720p)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReelboxPlayback720p, software, "software")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReelboxPlayback720p, opengl, "opengl")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

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

    const double software = bench::Median(costs["software"]), openGl = bench::Median(costs["opengl"]),
                 mpv = bench::Median(costs["mpv"]);
    std::printf("720p playback, CPU s per second: software route %.3f (%.1f fps shown), OpenGL route %.3f (%.1f fps), "
                "mpv --vo=x11 %.3f\n",
                software, bench::Median(rates["software"]), openGl, bench::Median(rates["opengl"]), mpv);
    const auto ratio = [](const char *what, double ours, double baseline) {
        if (ours > 0 && baseline > 0)
            std::printf("720p playback: %s = %.2f\n", what, ours / baseline);
    };
    ratio("software/mpv x11", software, mpv);
    ratio("software/OpenGL", software, openGl);
    ratio("OpenGL/mpv x11", openGl, mpv);
    return 0;
}
