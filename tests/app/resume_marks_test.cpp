// What a list row says of a stored point: watched, midway with the whole
// percent rounded down, or nothing; and nothing for another file put under
// the same name.

#include "app/resume_marks.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ResumeMarks, ARowSaysWatchedOrHowFarRoundedDownOrNothing)
{
    struct Case
    {
        FilePoint point;
        const char *description;
    } cases[] = {
        {{0, 0, false}, ""},            // never got going
        {{12, 0, false}, ""},           // no length to measure against
        {{0, 120, false}, ""},          // stopped at its start
        {{29, 100, false}, "途中 29%"}, // 0.29 is a hair below in binary
        {{59.9, 120, false}, "途中 49%"},
        {{99.6, 100, false}, "途中 99%"}, // never the 100 of a finished file
        {{0, 120, true}, "視聴済み"},     // marked from the menu
        {{120, 120, true}, "視聴済み"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RowMarkDescription(MarkOf(c.point)), QString::fromUtf8(c.description))
            << c.point.position << " of " << c.point.duration;
}

TEST(ResumeMarks, AFileOfAnotherSizeOrTimeShowsNoMark)
{
    QTemporaryDir folder;
    ResumeStore store(folder.filePath("points.db"));
    const QString clip = folder.filePath("a.avi");
    QFile file(clip);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("clip");
    file.close();
    store.SaveFile(clip, {30, 60, false});
    ResumeMarks marks;
    marks.Load(store);
    const FileIdentity now = *IdentityOf(clip);
    EXPECT_EQ(marks.MarkOf(clip, now).kind, RowMark::Kind::Midway);
    EXPECT_EQ(marks.MarkOf(clip, FileIdentity{now.size + 1, now.modified}).kind, RowMark::Kind::None);
    EXPECT_EQ(marks.MarkOf(clip, FileIdentity{now.size, now.modified + 1000}).kind, RowMark::Kind::None);
    EXPECT_EQ(marks.MarkOf(clip, std::nullopt).kind, RowMark::Kind::None);
}

} // namespace
