// Finding favourites by a piece of their file name.

#include "app/favorite_search.h"

#include "base/file_names.h"

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
        {"/v/show ep07.avi", "ＥＰ０７", true},  // full-width letters and digits
        {"/v/エピソード1.avi", "ｴﾋﾟｿｰﾄﾞ", true}, // half-width katakana, voiced marks joined
        {"/v/ｴﾋﾟｿｰﾄﾞ1.avi", "エピソード", true}, // and the other way round
        {"/v/ΟΔΟΣ.avi", "οδο\u03c2", true},      // case folded (final sigma), not just lowered
        {"/v/MiXeD Ep07.AVI", "mixed ep07.avi", true},
        {"/v/\x83\x72 EP07.avi", "ep07", true}, // a name that is not UTF-8
        {"/ep07/other.avi", "ep07", false},     // the folder is not the name
        {"/v/ab.avi", "", false},               // nothing typed finds nothing
        {"/v/ab.avi", "abc", false},
    };
    for (const auto &c : cases) {
        GroupSearchIndex index;
        index.Build({"/v/first.avi", DecodeFileName(c.path), "/v/last.avi"});
        EXPECT_EQ(index.Path(1), DecodeFileName(c.path));
        std::vector<int> found;
        const SearchQuery query(QString::fromUtf8(c.query));
        if (!query.bytes.empty())
            index.Find(query, found);
        EXPECT_EQ(found, c.found ? std::vector<int>{1} : std::vector<int>{}) << c.path << " / " << c.query;
    }
}

} // namespace
