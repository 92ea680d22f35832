// The table of file kinds, as the file-type box and the desktop read it.

#include "base/file_kinds.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(FileKinds, GiveTheFileTypeBoxItsEightEntriesInOrder)
{
    const QStringList expected = {
        "*.ram;*.rm;*.avi;*.mpeg;*.mpg;*.asf;*.wmv;*.divx;*.dat;*.rmvb",
        "*.ram;*.rm;*.rmvb",
        "*.avi",
        "*.mpeg;*.mpg",
        "*.wmv",
        "*.asf",
        "*.divx",
        "*.dat",
    };
    EXPECT_EQ(FileTypeFilters(), expected);
}

TEST(FileKinds, AreTheMimeTypesTheLauncherEntryDeclares)
{
    QFile entry(QStringLiteral(REELBOX_SOURCE_DIR "/assets/desktop/jp.example.reelbox.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QStringList declared;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            declared = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    const QStringList kinds = FileKindMimeTypes();
    EXPECT_EQ(QSet<QString>(declared.begin(), declared.end()), QSet<QString>(kinds.begin(), kinds.end()));
    EXPECT_EQ(declared.size(), kinds.size()) << "a type declared twice";
}

TEST(FileKinds, TellExtensionsAndEndingsInAnyCase)
{
    EXPECT_TRUE(IsVideoExtension("RmVb"));
    EXPECT_FALSE(IsVideoExtension("mp4"));
    EXPECT_FALSE(IsVideoExtension(""));
    EXPECT_TRUE(IsOpenedByDesktop("/v/a.WMV"));
    EXPECT_TRUE(IsOpenedByDesktop("/v/awmv"));
    EXPECT_FALSE(IsOpenedByDesktop("/v/a.asf"));
}

} // namespace
