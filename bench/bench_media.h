#pragma once
// Shared by the playback benchmarks: a clip made by ffmpeg in a temporary
// folder, the mpv command with the options our engine gives libmpv (so both
// sides decode and draw the same way), and waiting without fixed sleeps.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace bench {

// The middle one of a run's measurements (0 for none).
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Codecs and container of a benchmark clip: mpeg4 video with mp3 sound in
// .avi, as DivX players know it; RealVideo 2 with AC-3 sound in .rm (ffmpeg
// encodes no RealVideo 3/4 and no RealAudio cook).
inline const QStringList Mpeg4Avi = {"-c:v", "mpeg4", "-q:v", "4", "-c:a", "libmp3lame", "-f", "avi"};
inline const QStringList RealVideo2Rm = {"-c:v", "rv20", "-q:v", "4", "-c:a", "ac3", "-f", "rm"};

// A clip of `seconds` at `size` in `dir`, the same moving picture and tone
// whatever the encoding; empty when ffmpeg failed.
inline QString MakeClip(const QTemporaryDir &dir, const QString &name, const QString &size, int seconds,
                        const QStringList &encoding = Mpeg4Avi)
{
    const QString path = dir.filePath(name);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                       QString("testsrc2=size=%1:rate=25:duration=%2").arg(size).arg(seconds), "-f",
                                       "lavfi", "-i", QString("sine=frequency=440:duration=%1").arg(seconds)}
                               + encoding + QStringList{path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", ffmpeg.readAllStandardError().constData());
        return {};
    }
    return path;
}

// The mpv command's options matching what MpvEngine sets on libmpv. mpv's own
// window refuses a software GL renderer (Xvfb has only llvmpipe) unless told
// otherwise; the render API used by the engine does not ask.
inline QStringList MpvCommandOptions()
{
    return {"--no-config",
            "--ytdl=no",
            "--osc=no",
            "--input-default-bindings=no",
            "--hwdec=auto-safe",
            "--vo=gpu",
            "--gpu-sw=yes",
            "--ao=pipewire,pulse,alsa",
            "--audio-fallback-to-null=yes",
            "--keep-open=no"};
}

inline bool HaveMpvCommand()
{
    QProcess probe;
    probe.start("mpv", {"--version"});
    return probe.waitForFinished(10000) && probe.exitCode() == 0;
}

// Runs the event loop until done() holds or timeoutMs passes; true if it held.
// Sleeps between events, so waiting costs no CPU of its own.
inline bool WaitFor(const std::function<bool()> &done, int timeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    QTimer deadline; // wakes the loop at the latest then
    deadline.start(timeoutMs);
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// CPU seconds (user + system) used so far by this process, or by its waited-for children.
inline double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace bench
