// The store of resume points: what counts as watched, a database it cannot
// use put aside and started afresh, a replaced file forgotten, a failed write
// told once.

#include "app/resume_store.h"

#include "app/favorite_sizes.h"

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

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A database whose first page is sound and whose every other page is not:
// its schema reads, its points do not.
void DamageBeyondTheFirstPage(const QString &path, const QString &clip)
{
    {
        ResumeStore store(path);
        for (int i = 0; i < 200; ++i)
            store.SaveFile(clip + QString::number(i), {double(i), 100, false});
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096;
    ASSERT_GT(file.size(), 2 * pageSize);
    file.seek(pageSize);
    file.write(QByteArray(file.size() - pageSize, '\xAB'));
}

TEST(ResumeStore, AnUnusableDatabaseIsPutAsideAndAFreshOneKeepsPoints)
{
    enum Kind { NoDatabase, Newer, DamagedInside };
    for (const Kind kind : {NoDatabase, Newer, DamagedInside}) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
        const QString clip = WriteFile(folder.filePath(QStringLiteral("clip.avi")), "frames");
        if (kind == Newer)
            SetVersion(path, ResumeStore::SchemaVersion + 1);
        else if (kind == NoDatabase)
            WriteFile(path, QByteArray("no database").repeated(200));
        else
            DamageBeyondTheFirstPage(path, clip);
        const QByteArray before = Bytes(path);
        ResumeStore store(path);
        QSignalSpy toldLater(&store, &ResumeStore::SetAsideNow);
        EXPECT_FALSE(store.File(clip)) << kind;
        ASSERT_FALSE(store.SetAside().isEmpty()) << kind;
        EXPECT_EQ(Bytes(store.SetAside()), before) << kind;
        EXPECT_EQ(toldLater.count(), kind == DamagedInside ? 1 : 0);
        store.SaveFile(clip, {12, 100, false});
        ASSERT_TRUE(store.File(clip));
        EXPECT_EQ(store.File(clip)->position, 12);
    }
}

TEST(ResumeStore, TheFavouritesSizesFollowADatabasePutAsideWhileInUse)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
    const QString clip = WriteFile(folder.filePath(QStringLiteral("clip.avi")), "frames");
    DamageBeyondTheFirstPage(path, clip);
    ResumeStore store(path);
    FavoriteSizes sizes(path);
    EXPECT_FALSE(store.File(clip));
    ASSERT_FALSE(store.SetAside().isEmpty());
    const QByteArray aside = Bytes(store.SetAside());
    sizes.Reopen(); // as the program does when told
    sizes.Record({{QStringLiteral("/v/a.avi"), 10}});
    EXPECT_EQ(Bytes(store.SetAside()), aside);
    EXPECT_EQ(FavoriteSizes(path).Size(QStringLiteral("/v/a.avi")), 10);
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

TEST(ResumeStore, ADatabaseOfTheFirstSchemaKeepsItsPointsAndTakesListLengths)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Reelbox.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("first"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const char *statement :
             {"CREATE TABLE files (path TEXT PRIMARY KEY, size INTEGER, modified INTEGER, position REAL,"
              " duration REAL, watched INTEGER)",
              "CREATE TABLE lists (list TEXT PRIMARY KEY, entry INTEGER, path TEXT, position REAL,"
              " random_order TEXT, drawn INTEGER)",
              "INSERT INTO lists VALUES ('group:3', 2, '/v/c.avi', 30, '', 0)", "PRAGMA user_version=1"})
            ASSERT_TRUE(query.exec(QString::fromUtf8(statement))) << statement;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("first"));
    ResumeStore store(path);
    EXPECT_TRUE(store.SetAside().isEmpty());
    ASSERT_TRUE(store.List(QStringLiteral("group:3")));
    EXPECT_EQ(store.List(QStringLiteral("group:3"))->position, 30);
    store.SaveList(QStringLiteral("group:5"), {1, QStringLiteral("/v/b.avi"), 12, 40, {0, 3, 2, 1}, 2});
    const std::optional<ListPoint> saved = store.List(QStringLiteral("group:5"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->duration, 40);
    EXPECT_EQ(saved->order, (std::vector<qint16>{0, 3, 2, 1}));
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
