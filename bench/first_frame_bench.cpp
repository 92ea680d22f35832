// Time to the first frame: from the request to play a clip to its first frame
// on screen. Ours: the real player windows, loaded as the play loop loads
// them (no opening animation) and shown, playing through MpvEngine: the
// DirectShow window (Reelbox_M) on an mpeg4 clip and the RealAudio window
// (Reelbox_R) on the same picture as RealVideo 2 in .rm; each with a new
// engine (the first file after start-up) and with the engine kept from the
// file before (each next file). Theirs: the mpv command started on the same
// clip, and an mpv already running told to load it over its IPC socket, until
// mpv reports its first frame shown (logged once its video output has
// presented it). Same run, same clips, same decoding options. The first file
// plays on each drawing route (forced by REELBOX_VIDEO_ROUTE). Last, the
// memory the program holds once idle after its start (the engine started in
// the background), on each route. Needs a display; run it through `make
// bench` (Xvfb).

#include "app/reelbox_b.h"
#include "bench_media.h"
#include "media/mpv_engine.h"
#include "player/directshow_window.h"
#include "player/real_audio_window.h"

#include <QApplication>
#include <QFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString aviClip;                                  // mpeg4 in .avi
QString rmClip;                                   // RealVideo 2 in .rm, the same picture
std::map<std::string, std::vector<double>> times; // seconds per iteration, by benchmark

enum class Window { DirectShow, RealAudio };

// Plays clip in a new player window over engine, timed by clock from the
// play request to the first frame on screen; none when no frame came. The
// window then moves on, as Ctrl does (untimed).
std::optional<double> PlayToFirstFrame(Window which, MpvEngine &engine, const QString &clip, QElapsedTimer &clock)
{
    QTemporaryDir folder; // the program folder the window stores its place in
    Reelbox_B shared(folder.path());
    shared.PlayFile = clip;
    shared.InPlayLoop = -1; // as in a list: no opening animation
    const int before = engine.FramesDrawn();
    std::unique_ptr<SkinnedPlayerWindow> window;
    if (which == Window::DirectShow) {
        auto directShow = std::make_unique<Reelbox_M>(shared, engine);
        if (!directShow->Form_Load())
            return std::nullopt;
        window = std::move(directShow);
    } else {
        auto realAudio = std::make_unique<Reelbox_R>(shared, engine);
        realAudio->Form_Load();
        window = std::move(realAudio);
    }
    window->show(); // as the modal show does
    const bool shown = bench::WaitFor([&] { return engine.FramesDrawn() > before; });
    const double seconds = clock.nsecsElapsed() / 1e9;
    window->Form_KeyDown(Qt::Key_Control);
    return shown ? std::optional(seconds) : std::nullopt;
}

void Record(benchmark::State &state, const std::string &name, double seconds)
{
    state.SetIterationTime(seconds);
    times[name].push_back(seconds);
}

// The first file after start-up: a new engine (on `route`, or the one
// chosen for this machine) and a new window.
void BM_FirstFile(benchmark::State &state, Window which, const QString *clip, const char *name,
                  const char *route = nullptr)
{
    for (auto _ : state) {
        if (route)
            qputenv("REELBOX_VIDEO_ROUTE", route);
        QElapsedTimer clock;
        clock.start();
        MpvEngine engine;
        qunsetenv("REELBOX_VIDEO_ROUTE");
        const std::optional<double> seconds = PlayToFirstFrame(which, engine, *clip, clock);
        if (!seconds)
            state.SkipWithError("no frame drawn");
        Record(state, name, seconds.value_or(0));
    }
}

// Each next file: the program's one engine, a new window per file (as the
// play loop shows one modal player window per file).
void BM_NextFile(benchmark::State &state, Window which, const QString *clip, const char *name)
{
    MpvEngine engine;
    QElapsedTimer unused;
    PlayToFirstFrame(which, engine, *clip, unused);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const std::optional<double> seconds = PlayToFirstFrame(which, engine, *clip, clock);
        if (!seconds)
            state.SkipWithError("no frame drawn");
        Record(state, name, seconds.value_or(0));
    }
}

void BM_MpvCommandFirstFrame(benchmark::State &state, const QString *clip, const char *name)
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
        mpv.start("mpv", bench::MpvCommandOptions() << "--msg-level=all=no,cplayer=v" << *clip);
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
        Record(state, name, seconds);
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
void BM_MpvNextFile(benchmark::State &state, const QString *clip, const char *name)
{
    if (!bench::HaveMpvCommand()) {
        state.SkipWithError("the mpv command is not installed (scripts/bench installs it)");
        return;
    }
    QTemporaryDir dir;
    const QString socketPath = dir.filePath("mpv.sock");
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    mpv.start("mpv", bench::MpvCommandOptions()
                         << "--idle=yes"
                         << "--force-window=yes"
                         << "--input-ipc-server=" + socketPath << "--msg-level=all=no,cplayer=v");
    QByteArray output;
    if (!bench::WaitFor([&] { return QFile::exists(socketPath); }, 20000)) {
        state.SkipWithError("mpv did not open its IPC socket");
        return;
    }
    MpvConnection connection(socketPath);
    const QByteArray load = "{\"command\": [\"loadfile\", \"" + clip->toUtf8() + "\"]}";
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
        Record(state, name, clock.nsecsElapsed() / 1e9);
    }
    connection.Send("{\"command\": [\"quit\"]}");
    if (!mpv.waitForFinished(5000))
        mpv.kill();
}

// The program's resident memory in kB (VmRSS of /proc/pid/status), 0 when unknown.
long ResidentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The program (a copy in a program folder of its own) started on `route`,
// its memory once it has stayed the same for a second (the engine started
// in the background and the program idle).
long IdleResidentKb(const char *route)
{
    QTemporaryDir folder;
    const QString program = folder.filePath("reelbox");
    if (!QFile::copy(REELBOX_EXECUTABLE, program))
        return 0;
    QProcess reelbox;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("REELBOX_VIDEO_ROUTE", route);
    environment.insert("HOME", folder.path());
    reelbox.setProcessEnvironment(environment);
    reelbox.setStandardOutputFile(QProcess::nullDevice());
    reelbox.setStandardErrorFile(QProcess::nullDevice());
    reelbox.start(program, {});
    long last = -1, now = 0;
    for (int tick = 0; tick < 100 && (now = ResidentKb(reelbox.processId())) != last; ++tick) {
        last = now;
        reelbox.waitForFinished(1000); // a second's wait, unless it ended
    }
    reelbox.kill();
    reelbox.waitForFinished();
    return now;
}

void PrintIdleMemory()
{
    std::map<std::string, std::vector<double>> megabytes;
    for (int run = 0; run < 3; ++run)
        for (const char *route : {"software", "opengl"})
            megabytes[route].push_back(IdleResidentKb(route) / 1024.0);
    const double software = bench::Median(megabytes["software"]), openGl = bench::Median(megabytes["opengl"]);
    if (software > 0 && openGl > 0)
        std::printf("idle memory after start: software route %.0f MB vs OpenGL route %.0f MB, ratio %.2f\n", software,
                    openGl, software / openGl);
}

} // namespace

constexpr int Runs = 10;
#define FIRST_FRAME(...)                                                                                               \
    BENCHMARK_CAPTURE(__VA_ARGS__)->UseManualTime()->Iterations(Runs)->Unit(benchmark::kMillisecond)

FIRST_FRAME(BM_MpvCommandFirstFrame, mpeg4, &aviClip, "mpv (mpeg4)");
FIRST_FRAME(BM_FirstFile, directshow_mpeg4, Window::DirectShow, &aviClip, "M first file (mpeg4)");
FIRST_FRAME(BM_FirstFile, directshow_mpeg4_software, Window::DirectShow, &aviClip, "M first file, software route",
            "software");
FIRST_FRAME(BM_FirstFile, directshow_mpeg4_opengl, Window::DirectShow, &aviClip, "M first file, OpenGL route",
            "opengl");
FIRST_FRAME(BM_MpvCommandFirstFrame, rm, &rmClip, "mpv (rm)");
FIRST_FRAME(BM_FirstFile, realaudio_rm, Window::RealAudio, &rmClip, "R first file (rm)");
FIRST_FRAME(BM_MpvNextFile, mpeg4, &aviClip, "mpv next file (mpeg4)");
FIRST_FRAME(BM_NextFile, directshow_mpeg4, Window::DirectShow, &aviClip, "M next file (mpeg4)");
FIRST_FRAME(BM_MpvNextFile, rm, &rmClip, "mpv next file (rm)");
FIRST_FRAME(BM_NextFile, realaudio_rm, Window::RealAudio, &rmClip, "R next file (rm)");

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    aviClip = bench::MakeClip(dir, "clip720p.avi", "1280x720", 3, bench::Mpeg4Avi);
    rmClip = bench::MakeClip(dir, "clip720p.rm", "1280x720", 3, bench::RealVideo2Rm);
    if (aviClip.isEmpty() || rmClip.isEmpty())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::pair<const char *, const char *> pairs[] = {
        {"M first file (mpeg4)", "mpv (mpeg4)"},
        {"R first file (rm)", "mpv (rm)"},
        {"R first file (rm)", "M first file (mpeg4)"},
        {"M next file (mpeg4)", "mpv next file (mpeg4)"},
        {"R next file (rm)", "mpv next file (rm)"},
        {"R next file (rm)", "M next file (mpeg4)"},
        {"M first file, software route", "M first file, OpenGL route"},
    };
    for (const auto &[ours, theirs] : pairs) {
        const double mine = bench::Median(times[ours]), reference = bench::Median(times[theirs]);
        if (reference > 0 && mine > 0)
            std::printf("first frame, %s: median %.1f ms vs %s %.1f ms, ratio %.2f\n", ours, mine * 1e3, theirs,
                        reference * 1e3, mine / reference);
    }
    PrintIdleMemory();
    return 0;
}
