// The RealAudio window through the real engine, over clips ffmpeg makes:
// RealMedia with RealVideo 1 and 2, MPEG-1 in .mpg and .mpeg, a sound-only
// .rm, a name holding "#" and "%20", and a metafile naming two clips. Each
// plays to its end, every clip is announced, and the window closes by itself
// with the loop free to go on.

#include "media/real_audio.h"

#include "app/reelbox_b.h"
#include "fakes/program_folder.h"
#include "media/media_clips.h"
#include "media/mpv_engine.h"
#include "player/real_audio_window.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct ClipCase
{
    QString name;        // the file PlayFile names, in the test's folder
    int clips = 1;       // clips it plays
    QSize layout;        // the window laid out for the first clip
    QSize last = layout; // and for the last
};

void PrintTo(const ClipCase &row, std::ostream *out)
{
    *out << row.name.toStdString();
}

const QStringList RealVideo1 = {"-c:v", "rv10", "-c:a", "ac3", "-f", "rm"};

// Copies a made clip into folder under `name`.
QString Place(const ProgramFolder &folder, const QString &made, const QString &name)
{
    if (made.isEmpty())
        return {};
    QFile::remove(folder.FilePath(name));
    return QFile::copy(made, folder.FilePath(name)) ? folder.FilePath(name) : QString();
}

// Makes the file a case plays; empty when ffmpeg failed.
QString MakeCase(const ProgramFolder &folder, const QString &name)
{
    if (name == "rv10.rm")
        return Place(folder, MediaClips::Custom("rv10.rm", "testsrc=size=320x240:rate=25:duration=1", RealVideo1),
                     name);
    if (name == "rv20.rmvb")
        return Place(folder, MediaClips::Path("clip.rmvb"), name);
    if (name == "clip.mpg")
        return Place(folder, MediaClips::Path("clip.mpg"), name);
    if (name == "clip.mpeg")
        return Place(folder, MediaClips::Path("clip.mpg"), name);
    if (name == "tone.rm")
        return Place(folder, MediaClips::Path(MediaClip{"tone.rm", {"-c:a", "ac3", "-f", "rm"}, false}), name);
    if (name == "a #1 %20 b.rm")
        return Place(folder, MediaClips::Path("clip.rm"), name);
    if (name == "two.ram") {
        const QString small = MediaClips::Custom("small.rm", "testsrc=size=176x144:rate=25:duration=1", RealVideo1);
        if (Place(folder, small, "small.rm").isEmpty() || MakeCase(folder, "rv10.rm").isEmpty())
            return {};
        return folder.Write(name,
                            ("# two clips\r\nrv10.rm\r\nfile://" + folder.FilePath("small.rm") + "\r\n").toUtf8());
    }
    return {};
}

} // namespace

class RealAudioPlayback : public ::testing::TestWithParam<ClipCase>
{
};

TEST_P(RealAudioPlayback, PlaysToItsEndAndCloses)
{
    const ClipCase &row = GetParam();
    ProgramFolder folder;
    Reelbox_B shared(folder.Path());
    shared.PlayFile = MakeCase(folder, row.name);
    ASSERT_FALSE(shared.PlayFile.isEmpty()) << MediaClips::Error().toStdString();
    shared.InPlayLoop = -1;
    MpvEngine engine(MpvEngineOptions{.drawVideo = true, .untimed = true});

    Reelbox_R window(shared, engine);
    QSignalSpy clips(window.Realmain, &RealAudio::ClipOpened);
    QList<QSize> layouts;
    QObject::connect(
        window.Realmain, &RealAudio::ClipOpened, &window, [&] { layouts << window.size(); }, Qt::QueuedConnection);
    QTimer watchdog; // a window that never closes would hang the suite
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &window, &QDialog::reject);
    watchdog.start(20000);
    window.Form_Load();
    if (!window.Closed())
        window.exec();

    EXPECT_TRUE(watchdog.isActive()) << "the window did not close by itself";
    EXPECT_TRUE(window.Closed());
    EXPECT_FALSE(window.PlayedNothing());
    EXPECT_EQ(window.lbl_msg->text(), "Stop");
    EXPECT_EQ(shared.StopPlay, 0);
    EXPECT_EQ(clips.count(), row.clips);
    ASSERT_FALSE(layouts.isEmpty());
    EXPECT_EQ(layouts.first(), row.layout);
    EXPECT_EQ(layouts.last(), row.last);
}

INSTANTIATE_TEST_SUITE_P(Clips, RealAudioPlayback,
                         ::testing::Values(ClipCase{"rv10.rm", 1, {320, 306}}, ClipCase{"rv20.rmvb", 1, {320, 306}},
                                           ClipCase{"clip.mpg", 1, {320, 306}}, ClipCase{"clip.mpeg", 1, {320, 306}},
                                           ClipCase{"tone.rm", 1, {209, 219}}, ClipCase{"a #1 %20 b.rm", 1, {320, 306}},
                                           ClipCase{"two.ram", 2, {320, 306}, {176, 210}}),
                         [](const auto &info) {
                             QString name = info.param.name;
                             return name.replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
                         });

// A file that cannot be played at all: the window closes before any clip,
// and says so.
TEST(RealAudioPlayback, AFileThatCannotPlayClosesAtOnce)
{
    for (const QString &file : {MediaClips::Missing(), MediaClips::Garbage()}) {
        ProgramFolder folder; // where the window stores its place
        Reelbox_B shared(folder.Path());
        shared.PlayFile = file;
        shared.InPlayLoop = -1;
        MpvEngine engine(MpvEngineOptions{.drawVideo = false, .untimed = true});
        Reelbox_R window(shared, engine);
        QTimer::singleShot(20000, &window, &QDialog::reject);
        window.Form_Load();
        if (!window.Closed())
            window.exec();
        EXPECT_TRUE(window.PlayedNothing()) << file.toStdString();
        EXPECT_EQ(shared.StopPlay, 0);
    }
}
