// What counts as a URL's scheme, for every reader of names and URLs.

#include "base/url_scheme.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

TEST(UrlScheme, IsTheLettersBeforeTheFirstColon)
{
    const struct
    {
        const char *text, *scheme;
    } rows[] = {
        {"http://example.com/a.rm", "http"},
        {"HTTPS://x", "HTTPS"},
        {"file:///v/a.avi", "file"},
        {"mailto:me", "mailto"},
        {"ab:c.avi", "ab"},
        {"svn+ssh://h/x", "svn+ssh"},
        {"C:/v/a.avi", ""},
        {"/v/a:b.avi", ""},
        {"1http://x", ""},
        {"ht tp://x", ""},
        {"http", ""},
        {"", ""},
        {"rel/a:b.rm", ""},
    };
    for (const auto &row : rows)
        EXPECT_EQ(UrlScheme(QString::fromUtf8(row.text)).toString(), QString::fromUtf8(row.scheme)) << row.text;
}

} // namespace
