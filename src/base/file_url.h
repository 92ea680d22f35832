#pragma once
// The local files that "file:" URLs name, as desktop drops and metafiles
// carry them. Plain C++ on bytes, so the rules can be checked on their own:
// the path is the bytes the URL's escapes stand for (%FF is the byte 0xFF,
// whatever the name's encoding), and a URL that could be read as another path
// than the one it spells is refused rather than cut short.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The path of a "file:" URL (scheme in any letter case): "file:///p",
// "file:/p", "file://localhost/p" or "file://<hostName>/p" (host names
// compared without regard to ASCII case). nullopt for another scheme, another
// host (with a user or a port too), a path that is not absolute or starts
// with "//", a "%" not followed by two hex digits, an escape standing for NUL
// or "/", and a raw "?", "#" or control character (a query, a fragment or a
// name a file URL must escape).
std::optional<std::string> LocalPathOfFileUrl(std::string_view url, std::string_view hostName);

// The URLs of a "text/uri-list": one a line (CRLF or LF), blanks around them
// removed, empty lines and "#" comments left out.
std::vector<std::string_view> UriListLines(std::string_view list);

// This machine's host name ("" when it has none).
std::string ThisHostName();
