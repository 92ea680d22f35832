#include "base/url_scheme.h"

namespace {

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsSchemeCharacter(QChar c)
{
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

} // namespace

QStringView UrlScheme(QStringView text)
{
    if (text.isEmpty() || !IsAsciiLetter(text.front()))
        return {};
    qsizetype end = 1;
    while (end < text.size() && IsSchemeCharacter(text[end]))
        ++end;
    if (end < 2 || end == text.size() || text[end] != u':')
        return {};
    return text.first(end);
}
