// The sizes of favourites' files, kept in the database the resume points use.

#include "app/favorite_sizes.h"

#include "app/resume_store.h"
#include "base/file_names.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(FavoriteSizes, KeepsTheLastSizeOfEachPathBesideTheResumePoints)
{
    QTemporaryDir folder;
    const QString database = folder.filePath(QStringLiteral("Reelbox.db"));
    const QString foreign = DecodeFileName("/v/\x83\x72.avi"); // not UTF-8 on disk
    {
        ResumeStore points(database);
        FavoriteSizes sizes(database);
        sizes.Record({{"/v/a.avi", 10}, {foreign, 20}});
        sizes.Record({{"/v/a.avi", 11}});
        points.SaveList(QStringLiteral("list"), ListPoint{1, QStringLiteral("/v/a.avi"), 2.5, 60, {}, 0});
    }
    ResumeStore points(database);
    ASSERT_TRUE(points.SetAside().isEmpty()); // the shared file is still the resume points' own
    EXPECT_TRUE(points.List(QStringLiteral("list")).has_value());
    const FavoriteSizes sizes(database);
    EXPECT_EQ(sizes.Size("/v/a.avi"), 11);
    EXPECT_EQ(sizes.Size(foreign), 20);
    EXPECT_EQ(sizes.Size("/v/b.avi"), std::nullopt);
}

} // namespace
