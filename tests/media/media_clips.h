#pragma once
// Small real media files for the playback tests, made by the ffmpeg command
// into a temporary folder the first time a test asks for each one, and kept
// for the rest of the test process. 320 x 240, 25 frames a second, one second
// long, with a tone wherever the container takes sound.

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct MediaClip
{
    QString file;       // file name in the clip folder, with the format's ending
    QStringList encode; // ffmpeg output options: codecs and container
    bool hasVideo = true;
};

// The formats the player window is given, plus a sound-only file.
inline const QList<MediaClip> &PlayerClips()
{
    static const QList<MediaClip> clips = {
        {"clip.avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame", "-f", "avi"}},
        {"clip.divx", {"-c:v", "mpeg4", "-c:a", "libmp3lame", "-f", "avi"}},
        {"clip.wmv", {"-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf"}},
        {"clip.asf", {"-c:v", "wmv1", "-c:a", "wmav2", "-f", "asf"}},
        {"clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}},
        {"clip.dat", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "vcd"}},
        // ffmpeg encodes RealVideo 1-2 and no RealAudio cook; AC-3 is legal in .rm.
        {"clip.rm", {"-c:v", "rv20", "-c:a", "ac3", "-f", "rm"}},
        {"clip.rmvb", {"-c:v", "rv20", "-c:a", "ac3", "-f", "rm"}},
        {"tone.wav", {"-vn", "-c:a", "pcm_s16le", "-f", "wav"}, false},
    };
    return clips;
}

class MediaClips
{
public:
    // The clip's path, made on first use; empty (with the reason in Error())
    // when ffmpeg failed.
    static QString Path(const MediaClip &clip) { return Instance().Make(clip); }
    // A clip of the given name from PlayerClips().
    static QString Path(const QString &file)
    {
        for (const MediaClip &clip : PlayerClips())
            if (clip.file == file)
                return Path(clip);
        return {};
    }
    // Path of a clip made with the given ffmpeg video source (lavfi) and encoding.
    static QString Custom(const QString &file, const QString &source, const QStringList &encode)
    {
        return Instance().Make({file, encode}, source);
    }
    // Path of `file`, made from the made clip `input` by ffmpeg with `options`
    // (a stream copy with new metadata, say); empty when either failed.
    static QString Remux(const QString &file, const QString &input, const QStringList &options)
    {
        if (input.isEmpty())
            return {};
        return Instance().Run(Instance().dir_.filePath(file), QStringList{"-i", input} << options);
    }
    // Where a file that does not exist would be.
    static QString Missing() { return Instance().dir_.filePath("no such clip.avi"); }
    // A file of bytes no demuxer recognises, with a video file's ending.
    static QString Garbage()
    {
        const QString path = Instance().dir_.filePath("garbage.avi");
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly)) {
            QByteArray bytes(64 * 1024, '\0');
            for (int i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
            file.write(bytes);
        }
        return path;
    }
    static QString Error() { return Instance().error_; }
    static QString Folder() { return Instance().dir_.path(); }

private:
    static MediaClips &Instance()
    {
        static MediaClips clips;
        return clips;
    }

    QString Make(const MediaClip &clip,
                 const QString &source = QStringLiteral("testsrc=size=320x240:rate=25:duration=1"))
    {
        const QString path = dir_.filePath(clip.file);
        if (made_.contains(path))
            return path;
        QStringList args;
        if (clip.hasVideo)
            args << "-f"
                 << "lavfi"
                 << "-i" << source;
        args << "-f"
             << "lavfi"
             << "-i"
             << "sine=frequency=440:sample_rate=44100:duration=1";
        return Run(path, args << clip.encode);
    }

    // Runs ffmpeg with `args` to write path, once; empty when it failed.
    QString Run(const QString &path, const QStringList &args)
    {
        if (made_.contains(path))
            return path;
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-hide_banner", "-loglevel", "error", "-y"} << args << path);
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
            error_ = QStringLiteral("ffmpeg failed on %1: %2")
                         .arg(QFileInfo(path).fileName(), QString::fromLocal8Bit(ffmpeg.readAllStandardError()));
            return {};
        }
        made_.insert(path);
        return path;
    }

    QTemporaryDir dir_;
    QSet<QString> made_;
    QString error_;
};
