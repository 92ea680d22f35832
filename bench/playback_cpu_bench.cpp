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
#include <optional>

namespace {

constexpr int kClipSeconds = 10;
constexpr int kRounds = 5;
QString clip;
std::map<std::string, std::vector<double>> costs;  // CPU seconds per playback second
std::map<std::string, std::vector<double>> rates;  // frames shown per second
std::map<std::string, std::vector<double>> ratios; // ours against theirs, round by round

struct Playback
{
    double cpuPerSecond = 0;
    double framesPerSecond = 0;
};

// Ours on `route`: the clip to its end in a shown window; none when it did not end.
std::optional<Playback> PlayOurs(const char *route)
{
    qputenv("REELBOX_VIDEO_ROUTE", route);
    const double before = bench::CpuSeconds(RUSAGE_SELF);
    QDialog window;
    window.setWindowTitle("Reelbox player");
    QWidget *display = new QWidget(&window);
    auto engine = std::make_unique<MpvEngine>();
    qunsetenv("REELBOX_VIDEO_ROUTE");
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
    ended = bench::WaitFor([&] { return ended; }, (kClipSeconds + 20) * 1000);
    poll.stop();
    const double frames = engine->FramesDrawn() - framesBefore;
    graphOwner.reset(); // the graph goes before its engine
    engine.reset();
    benchmark::DoNotOptimize(sink);
    if (!ended)
        return std::nullopt;
    return Playback{(bench::CpuSeconds(RUSAGE_SELF) - before) / seconds, frames / seconds};
}

// The mpv command with its X11 output; none when it did not play to the end.
std::optional<Playback> PlayTheirs()
{
    const double before = bench::CpuSeconds(RUSAGE_CHILDREN);
    QProcess mpv;
    mpv.start("mpv", bench::MpvCommandOptions() << "--vo=x11"
                                                << "--really-quiet" << clip);
    if (!mpv.waitForFinished((kClipSeconds + 20) * 1000) || mpv.exitCode() != 0)
        return std::nullopt;
    return Playback{(bench::CpuSeconds(RUSAGE_CHILDREN) - before) / kClipSeconds, 0};
}

// Each round plays the clip with mpv, then on each of our routes, so that
// the load of a shared machine weighs on all three alike; each round's
// ratios are kept, and the medians reported.
void BM_Playback720p(benchmark::State &state)
{
    if (!bench::HaveMpvCommand()) {
        state.SkipWithError("the mpv command is not installed (scripts/bench installs it)");
        return;
    }
    for (auto _ : state) {
        const std::optional<Playback> mpv = PlayTheirs(), software = PlayOurs("software"), openGl = PlayOurs("opengl");
        if (!mpv || !software || !openGl) {
            state.SkipWithError("a clip did not play to its end");
            return;
        }
        state.SetIterationTime(software->cpuPerSecond);
        costs["mpv"].push_back(mpv->cpuPerSecond);
        for (const auto &[route, playback] : {std::pair{"software", *software}, std::pair{"opengl", *openGl}}) {
            costs[route].push_back(playback.cpuPerSecond);
            rates[route].push_back(playback.framesPerSecond);
        }
        ratios["software/mpv x11"].push_back(software->cpuPerSecond / mpv->cpuPerSecond);
        ratios["software/OpenGL"].push_back(software->cpuPerSecond / openGl->cpuPerSecond);
        ratios["OpenGL/mpv x11"].push_back(openGl->cpuPerSecond / mpv->cpuPerSecond);
    }
}

} // namespace

BENCHMARK(BM_Playback720p)->UseManualTime()->Iterations(kRounds)->Unit(benchmark::kMillisecond);

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

    std::printf("720p playback, CPU s per second (median): software route %.3f (%.1f fps shown), OpenGL route "
                "%.3f (%.1f fps), mpv --vo=x11 %.3f\n",
                bench::Median(costs["software"]), bench::Median(rates["software"]), bench::Median(costs["opengl"]),
                bench::Median(rates["opengl"]), bench::Median(costs["mpv"]));
    for (const auto &[what, values] : ratios)
        std::printf("720p playback: %s = %.2f (median of %zu rounds)\n", what.c_str(), bench::Median(values),
                    values.size());
    return 0;
}
