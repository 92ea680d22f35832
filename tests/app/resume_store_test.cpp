// The store of resume points: what counts as watched, a database it cannot
// use put aside and started afresh, a replaced file forgotten, a failed write
// told once.

#include "app/resume_store.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ResumeStore, WatchedMeansTheLastFivePercentOrTheLastTenSeconds)
{
    struct Case
    {
        double position, duration;
        bool watched;
    } cases[] = {
        {0, 0, false},       {89.9, 100, false}, {90, 100, true}, {100, 100, true},
        {1889, 2000, false}, {1900, 2000, true}, {4, 20, false},  {10, 20, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CountsAsWatched(c.position, c.duration), c.watched) << c.position << " of " << c.duration;
}

QString WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void SetVersion(const QString &path, int version)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
}

TEST(ResumeStore, AnUnusableDatabaseIsPutAsideAndAFreshOneKeepsPoints)
{
    for (const bool newer : {false, true}) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
        if (newer)
            SetVersion(path, ResumeStore::SchemaVersion + 1);
        else
            WriteFile(path, QByteArray("no database").repeated(200));
        const QByteArray before = [&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const QString clip = WriteFile(folder.filePath(QStringLiteral("clip.avi")), "frames");
        ResumeStore store(path);
        ASSERT_FALSE(store.SetAside().isEmpty()) << newer;
        QFile aside(store.SetAside());
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), before);
        store.SaveFile(clip, {12, 100, false});
        ASSERT_TRUE(store.File(clip));
        EXPECT_EQ(store.File(clip)->position, 12);
    }
}

TEST(ResumeStore, PointsSurviveReopeningAndAReplacedFileIsForgotten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
    const QString clip = WriteFile(folder.filePath(QStringLiteral("clip.avi")), "frames");
    ResumeStore(path).SaveFile(clip, {30, 100, false});
    ResumeStore store(path);
    EXPECT_TRUE(store.SetAside().isEmpty());
    ASSERT_TRUE(store.File(clip));
    EXPECT_EQ(store.File(clip)->position, 30);
    // Gone for a while (its drive unplugged), then back as it was.
    const QString away = folder.filePath(QStringLiteral("away.avi"));
    QFile::rename(clip, away);
    EXPECT_FALSE(store.File(clip));
    QFile::rename(away, clip);
    ASSERT_TRUE(store.File(clip));
    EXPECT_EQ(store.File(clip)->position, 30);
    WriteFile(clip, "other frames");
    EXPECT_FALSE(store.File(clip));
}

TEST(ResumeStore, AFailedWriteIsToldOnceAndWritingStops)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
    const QString clip = WriteFile(folder.filePath(QStringLiteral("clip.avi")), "frames");
    ResumeStore store(path);
    QSignalSpy told(&store, &ResumeStore::WriteFailed);
    // The tables gone stand for a disk that takes no more writes.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("breaker"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QStringLiteral("DROP TABLE files"));
    db.close();
    store.SaveFile(clip, {1, 100, false});
    store.SaveFile(clip, {2, 100, false});
    EXPECT_EQ(told.count(), 1);
}

} // namespace
