// Finding favourites by a piece of their file name.

#include "app/favorite_search.h"

#include "app/favorite_list.h"
#include "app/favorite_search_view.h"
#include "base/file_names.h"
#include "widgets/list_box.h"

#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FavoriteSearch, MatchesAPieceOfTheNameInAnyWidthAndCase)
{
    const struct
    {
        const char *path, *query;
        bool found;
    } cases[] = {
        {"/v/Show EP07.avi", "ep07", true},
        {"/v/show ep07.avi", "ＥＰ０７", true},        // full-width letters and digits
        {"/v/エピソード1.avi", "ｴﾋﾟｿｰﾄﾞ", true},       // half-width katakana, voiced marks joined
        {"/v/ｴﾋﾟｿｰﾄﾞ1.avi", "エピソード", true},       // and the other way round
        {"/v/ΟΔΟΣ.avi", "οδο\u03c2", true},            // case folded (final sigma), not just lowered
        {"/v/第1話 ひかり.avi", "第1話 ひかり", true}, // kana and ideographs as they are
        {"/v/エヒ\u309a.avi", "エピ", true},           // a combining mark joined
        {"/v/MiXeD Ep07.AVI", "mixed ep07.avi", true},
        {"/v/\x83\x72 EP07.avi", "ep07", true}, // a name that is not UTF-8
        {"/ep07/other.avi", "ep07", false},     // the folder is not the name
        {"/v/ab.avi", "", false},               // nothing typed finds nothing
        {"/v/ab.avi", "abc", false},
    };
    for (const auto &c : cases) {
        // The entries as paths (added in this run) and as a list file's records.
        const QStringList paths{"/v/first.avi", DecodeFileName(c.path), "/v/last.avi"};
        GroupEntries records{ListRecords(EncodeListRecord(paths[0]) + QByteArray(255, ' ') + EncodeListRecord(paths[1])
                                         + EncodeListRecord(paths[2])),
                             {{0, {}}, {2, {}}, {3, {}}}};
        for (const GroupEntries &group : {GroupEntries::OfPaths(paths), records}) {
            GroupSearchIndex index;
            index.Build(group);
            EXPECT_EQ(index.Path(1), DecodeFileName(c.path));
            std::vector<int> found;
            const SearchQuery query(QString::fromUtf8(c.query));
            if (!query.bytes.empty())
                index.Find(query, 0, index.Count(), found);
            EXPECT_EQ(found, c.found ? std::vector<int>{1} : std::vector<int>{}) << c.path << " / " << c.query;
        }
    }
}

} // namespace

// The search over the favourites list and two list files: a keystroke answers
// from what is indexed and every group's matches join; when a group's file
// changes and matches come before, a match the user chose stays chosen, and
// the first match, which every search chooses by itself, is the new first.
TEST(FavoriteSearchView, EveryGroupsMatchesJoinAndOnlyTheUsersChoiceStaysChosen)
{
    QTemporaryDir folder;
    const auto file = [&](int group) { return folder.filePath(ListFileTitle(group)); };
    const auto write = [&](int group, const QStringList &paths) {
        QList<QByteArray> records;
        for (const QString &path : paths)
            records.append(EncodeListRecord(path));
        ASSERT_TRUE(WriteListFile(file(group), records));
    };
    write(0, {"/v/b ep07.avi"});
    write(1, {"/v/other.avi", "/v/c EP07.avi"});
    QWidget window;
    ListBox list(&window);
    FavoriteList entries; // group 3's
    entries.AppendPaths({"/v/a ep07.avi", "/v/elsewhere.avi"});
    list.setModel(&entries);
    FavoriteSearch search(
        &list, [] { return 2; }, [&] { return entries.Entries(); }, file);
    window.show();
    const auto settled = [&](int rows) {
        return QTest::qWaitFor(
            [&] { return !search.Indexing() && !search.Matching() && search.Rows().size() == rows; });
    };
    const auto chosen = [&] { return search.Results->currentIndex().data().toString(); };

    search.Open();
    search.Field->setText(QStringLiteral("ＥＰ０７"));
    ASSERT_TRUE(settled(3));
    EXPECT_EQ(search.Rows(), (QStringList{"[1] /v/b ep07.avi", "[2] /v/c EP07.avi", "[3] /v/a ep07.avi"}));
    EXPECT_EQ(chosen(), "[1] /v/b ep07.avi");

    write(0, {"/v/0 ep07.avi", "/v/b ep07.avi"});
    search.Refresh();
    ASSERT_TRUE(settled(4));
    EXPECT_EQ(chosen(), "[1] /v/0 ep07.avi");

    search.Results->setCurrentIndex(search.Results->model()->index(2, 0)); // as Down twice would
    write(1, {"/v/c0 ep07.avi", "/v/other.avi", "/v/c EP07.avi"});
    search.Refresh();
    ASSERT_TRUE(settled(5));
    EXPECT_EQ(chosen(), "[2] /v/c EP07.avi");
}
