// What a resume costs the first play: the DirectShow window on a kept engine,
// from the play request (the store asked for the file's point included) to
// the first frame on screen at that point, against the same file played from
// 0 without a stored point, in the same run. Needs a display; run it through
// `make bench` (Xvfb).

#include "app/reelbox_b.h"
#include "app/resume_store.h"
#include "bench_media.h"
#include "media/mpv_engine.h"
#include "player/directshow_window.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <clocale>
#include <map>
#include <optional>

namespace {

QString clip;
std::map<std::string, std::vector<double>> times;

std::optional<double> PlayFrom(ResumeStore &store, MpvEngine &engine)
{
    QTemporaryDir folder;
    Reelbox_B shared(folder.path());
    QElapsedTimer clock;
    clock.start();
    const std::optional<FilePoint> point = store.File(clip);
    shared.PlayFile = clip;
    shared.PlayStart = point ? point->position : 0;
    shared.InPlayLoop = -1; // as in a list: no opening animation
    const int before = engine.FramesDrawn();
    Reelbox_M window(shared, engine);
    if (!window.Form_Load())
        return std::nullopt;
    window.show();
    const bool shown = bench::WaitFor([&] {
        return engine.FramesDrawn() > before && !engine.Seeking() && engine.Position() >= shared.PlayStart - 3;
    });
    const double seconds = clock.nsecsElapsed() / 1e9;
    window.Form_KeyDown(Qt::Key_Control);
    return shown ? std::optional(seconds) : std::nullopt;
}

void BM_FirstPlay(benchmark::State &state, double stored, const char *name)
{
    QTemporaryDir folder;
    ResumeStore store(folder.filePath(QStringLiteral("Reelbox.db")));
    if (stored > 0)
        store.SaveFile(clip, {stored, 40, false});
    MpvEngine engine;
    PlayFrom(store, engine); // the engine warmed up, as after the first file
    for (auto _ : state) {
        const std::optional<double> seconds = PlayFrom(store, engine);
        if (!seconds)
            state.SkipWithError("no frame drawn");
        state.SetIterationTime(seconds.value_or(0));
        times[name].push_back(seconds.value_or(0));
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_FirstPlay, from_zero, 0.0, "from 0")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstPlay, resumed, 21.0, "resumed")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    clip = bench::MakeClip(dir, "clip720p.avi", "1280x720", 40, bench::Mpeg4Avi);
    if (clip.isEmpty())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double resumed = bench::Median(times["resumed"]), fromZero = bench::Median(times["from 0"]);
    std::printf("first play resumed: median %.1f ms vs from 0 %.1f ms, ratio %.2f, cost %.1f ms\n", resumed * 1e3,
                fromZero * 1e3, resumed / fromZero, (resumed - fromZero) * 1e3);
    return 0;
}
