#include "media/mpv_video_route.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

Q_LOGGING_CATEGORY(lcVideoRoute, "reelbox.media.route", QtWarningMsg)

namespace {

// How long the helper may take: loading a driver takes some tens of
// milliseconds; one that hangs is a driver not to draw with.
constexpr int kProbeTimeoutMs = 5000;

QString ProbeProgram()
{
    // The installed helper beside the installed program, else the one of this
    // build (for the tests and benchmarks too).
    const QString paths[] = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(REELBOX_OPENGL_PROBE_INSTALLED)),
        QStringLiteral(REELBOX_OPENGL_PROBE_BUILT),
    };
    for (const QString &path : paths)
        if (QFileInfo(path).isExecutable())
            return path;
    return {};
}

// The helper's output, or none when it did not finish well within the time.
std::optional<QByteArray> RunHelper(const QString &program, const QByteArray &platform)
{
    std::vector<QByteArray> environment{"EGL_PLATFORM=" + platform};
    for (char **variable = environ; *variable; ++variable)
        if (!QByteArray(*variable).startsWith("EGL_PLATFORM="))
            environment.emplace_back(*variable);
    std::vector<char *> envp;
    for (QByteArray &variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    QByteArray path = QFile::encodeName(program);
    char *argv[] = {path.data(), nullptr};

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const bool spawned = posix_spawn(&child, path.constData(), &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    QByteArray output;
    QDeadlineTimer deadline(kProbeTimeoutMs);
    bool ended = false;
    while (spawned && !deadline.hasExpired()) {
        pollfd wanted{pipeEnds[0], POLLIN, 0};
        if (poll(&wanted, 1, static_cast<int>(deadline.remainingTime())) <= 0)
            continue; // timed out (checked above) or interrupted
        char buffer[256];
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0) {
            ended = got == 0;
            break;
        }
        output.append(buffer, got);
    }
    close(pipeEnds[0]);
    if (!spawned)
        return std::nullopt;
    if (!ended)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output.trimmed();
}

RendererProbe RunProbe()
{
    const QString program = ProbeProgram();
    if (program.isEmpty())
        return {};
    // The helper asks EGL on the kind of display the program shows its windows on.
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    const std::optional<QByteArray> renderer = RunHelper(program, wayland ? "wayland" : "x11");
    if (!renderer)
        return {RendererProbe::Outcome::NoContext, {}};
    return {RendererProbe::Outcome::Renderer, *renderer};
}

} // namespace

std::optional<VideoRoute> ForcedVideoRoute()
{
    const QByteArray name = qgetenv("REELBOX_VIDEO_ROUTE");
    if (name == "software")
        return VideoRoute::Software;
    if (name == "opengl")
        return VideoRoute::OpenGL;
    if (!name.isEmpty())
        qCWarning(lcVideoRoute, "REELBOX_VIDEO_ROUTE=%s is neither software nor opengl: ignored", name.constData());
    return std::nullopt;
}

bool IsSoftwareRenderer(const QByteArray &renderer)
{
    const QByteArray name = renderer.toLower();
    // Mesa's CPU drivers, and Windows' (WARP under WSL's D3D12 driver).
    for (const char *software : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "basic render driver"})
        if (name.contains(software))
            return true;
    return false;
}

VideoRoute RouteForProbe(const RendererProbe &probe)
{
    switch (probe.outcome) {
    case RendererProbe::Outcome::Renderer:
        return IsSoftwareRenderer(probe.renderer) ? VideoRoute::Software : VideoRoute::OpenGL;
    case RendererProbe::Outcome::NoContext: return VideoRoute::Software;
    case RendererProbe::Outcome::NoHelper: break;
    }
    return VideoRoute::OpenGL;
}

const RendererProbe &ProbedRenderer()
{
    static const RendererProbe probe = [] {
        RendererProbe result = RunProbe();
        qCInfo(lcVideoRoute, "OpenGL renderer: %s",
               result.outcome == RendererProbe::Outcome::Renderer    ? result.renderer.constData()
               : result.outcome == RendererProbe::Outcome::NoContext ? "none"
                                                                     : "not probed");
        return result;
    }();
    return probe;
}

VideoRoute ChooseVideoRoute()
{
    if (const std::optional<VideoRoute> forced = ForcedVideoRoute())
        return *forced;
    return RouteForProbe(ProbedRenderer());
}
