// Time to the first frame: from the request to play a clip to its first frame
// on screen. Ours: the player window's load sequence through FilgraphManager
// and MpvEngine in a new window, with a new engine (the first file after
// start-up) and with the engine kept from the file before (each next file).
// Theirs: the mpv command started on the same clip, and an mpv already running
// told to load it over its IPC socket, until mpv reports its first frame shown
// (logged once its video output has presented it). Same run, same clip, same
// decoding options. Needs a display; run it through `make bench` (Xvfb).

#include "bench_media.h"
#include "platform/media/filgraph_manager.h"
#include "platform/media/mpv_engine.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstring>
#include <map>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString clip;
std::map<std::string, std::vector<double>> times; // seconds per iteration, by benchmark

// One player window: the picture area, and the graph built the way the
// window's LoadFile builds it, over an engine that outlives the window.
struct PlayerWindow
{
    QDialog window;
    QWidget *display = new QWidget(&window);
    MpvEngine &engine;
    std::unique_ptr<FilgraphManager> graph;

    explicit PlayerWindow(MpvEngine &engine) : engine(engine) { window.setWindowTitle("Reelbox player"); }
    ~PlayerWindow() { graph.reset(); } // the graph goes first, as in the window's CleanUp

    // Renders, lays out, runs and shows; false when no frame came.
    bool PlayToFirstFrame()
    {
        const int before = engine.FramesDrawn();
        graph = std::make_unique<FilgraphManager>(engine);
        graph->WindowStyle(0x46000000);
        graph->Owner(display);
        graph->MessageDrain(display);
        graph->RenderFile(clip);
        const int width = graph->Width().value_or(320), height = graph->Height().value_or(240);
        window.resize(width, height + 53);
        display->setGeometry(0, 20, width, height);
        graph->SetWindowPosition(0, 0, width, height);
        graph->Run();
        graph->CurrentPosition(0);
        window.show();
        return bench::WaitFor([&] { return engine.FramesDrawn() > before; });
    }
};

void Record(benchmark::State &state, const std::string &name, double seconds)
{
    state.SetIterationTime(seconds);
    times[name].push_back(seconds);
}

// The first file after start-up: a new engine and a new window.
void BM_ReelboxFirstFile(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        MpvEngine engine;
        PlayerWindow player(engine);
        if (!player.PlayToFirstFrame())
            state.SkipWithError("no frame drawn");
        Record(state, "first file", clock.nsecsElapsed() / 1e9);
    }
}

// Each next file: the program's one engine, a new window per file (as the
// play loop shows one modal player window per file).
void BM_ReelboxNextFile(benchmark::State &state)
{
    MpvEngine engine;
    PlayerWindow(engine).PlayToFirstFrame();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        PlayerWindow player(engine);
        if (!player.PlayToFirstFrame())
            state.SkipWithError("no frame drawn");
        Record(state, "next file", clock.nsecsElapsed() / 1e9);
    }
}

void BM_MpvCommandFirstFrame(benchmark::State &state)
{
    if (!bench::HaveMpvCommand()) {
        state.SkipWithError("the mpv command is not installed (scripts/bench installs it)");
        return;
    }
    for (auto _ : state) {
        QProcess mpv;
        mpv.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        mpv.start("mpv", bench::MpvCommandOptions() << "--msg-level=all=no,cplayer=v" << clip);
        QByteArray output;
        bool shown = false;
        while (!shown && mpv.waitForReadyRead(20000)) {
            output += mpv.readAll();
            shown = output.contains("first video frame after restart shown");
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        mpv.kill();
        mpv.waitForFinished();
        if (!shown)
            state.SkipWithError("mpv showed no frame");
        Record(state, "mpv", seconds);
    }
}

// A connection to mpv's IPC socket; commands sent over one connection are
// carried out in order.
class MpvConnection
{
public:
    explicit MpvConnection(const QString &path)
    {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof address.sun_path - 1);
        if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~MpvConnection()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    // Sends one JSON command; false on failure.
    bool Send(const QByteArray &command)
    {
        const QByteArray line = command + '\n';
        return fd_ >= 0 && write(fd_, line.constData(), line.size()) == line.size();
    }

private:
    int fd_ = -1;
};

// Waits until mpv's log (merged output of `mpv`, gathered in `output`) shows
// `line` `count` times in all.
bool WaitForMpvLog(QProcess &mpv, QByteArray &output, const char *line, int count)
{
    while (output.count(line) < count) {
        if (!mpv.waitForReadyRead(20000))
            return false;
        output += mpv.readAll();
    }
    return true;
}

// The next file in an mpv already running (idle, driven over its IPC socket):
// what mpv itself needs once its process and window exist, as in our second case.
void BM_MpvNextFile(benchmark::State &state)
{
    if (!bench::HaveMpvCommand()) {
        state.SkipWithError("the mpv command is not installed (scripts/bench installs it)");
        return;
    }
    QTemporaryDir dir;
    const QString socketPath = dir.filePath("mpv.sock");
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    mpv.start("mpv", bench::MpvCommandOptions() << "--idle=yes" << "--force-window=yes"
                         << "--input-ipc-server=" + socketPath << "--msg-level=all=no,cplayer=v");
    QByteArray output;
    if (!bench::WaitFor([&] { return QFile::exists(socketPath); }, 20000)) {
        state.SkipWithError("mpv did not open its IPC socket");
        return;
    }
    MpvConnection connection(socketPath);
    const QByteArray load = "{\"command\": [\"loadfile\", \"" + clip.toUtf8() + "\"]}";
    const char *const shownLine = "first video frame after restart shown";
    int files = 1;
    connection.Send(load); // the first file, as in our second case
    WaitForMpvLog(mpv, output, shownLine, files);
    for (auto _ : state) {
        // Straight from one file to the next, mpv's quickest way (waiting for
        // the stop to finish first, as ours does, costs mpv some 30 ms more).
        connection.Send("{\"command\": [\"stop\"]}");
        QElapsedTimer clock;
        clock.start();
        const bool shown = connection.Send(load) && WaitForMpvLog(mpv, output, shownLine, ++files);
        if (!shown)
            state.SkipWithError("mpv showed no frame");
        Record(state, "mpv next file", clock.nsecsElapsed() / 1e9);
    }
    connection.Send("{\"command\": [\"quit\"]}");
    if (!mpv.waitForFinished(5000))
        mpv.kill();
}

} // namespace

BENCHMARK(BM_MpvCommandFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReelboxFirstFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MpvNextFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReelboxNextFile)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    clip = bench::MakeClip(dir, "clip720p.avi", "1280x720", 3);
    if (clip.isEmpty())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::pair<const char *, const char *> pairs[] = {{"first file", "mpv"},
                                                           {"next file", "mpv next file"}};
    for (const auto &[ours, theirs] : pairs) {
        const double mine = bench::Median(times[ours]), reference = bench::Median(times[theirs]);
        if (reference > 0 && mine > 0)
            std::printf("first frame, %s: median %.1f ms vs %s %.1f ms, ours/mpv = %.2f\n", ours,
                        mine * 1e3, theirs, reference * 1e3, mine / reference);
    }
    return 0;
}
