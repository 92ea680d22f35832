// libFuzzer harness of the file-URL reader behind drops and metafiles. Any
// input is read as a URL and as a uri-list; an input that names a path is
// also escaped into URLs of every local form, which must read back as exactly
// that path. A broken rule aborts with the input that broke it.

#include "base/file_url.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::string_view Host = "reelbox-test";

void Require(bool holds, const char *rule)
{
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

std::string Escaped(std::string_view path)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string url;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || std::string_view("/-._~").find(c) != std::string_view::npos) {
            url.push_back(c);
        } else {
            url.push_back('%');
            url.push_back(digits[byte >> 4]);
            url.push_back(digits[byte & 15]);
        }
    }
    return url;
}

// What a URL the reader took must have been: a file URL whose path part
// (after any host) maps byte for byte onto the result.
void CheckTaken(std::string_view url, const std::string &path)
{
    Require(!path.empty() && path.front() == '/' && path.rfind("//", 0) != 0, "an absolute path, no host");
    Require(path.find('\0') == std::string::npos, "no NUL in a path");
    std::string_view raw = url.substr(5);
    if (raw.rfind("//", 0) == 0)
        raw.remove_prefix(raw.find('/', 2));
    const auto slashes = [](std::string_view s) { return std::count(s.begin(), s.end(), '/'); };
    Require(slashes(raw) == slashes(path), "no separator from an escape");
    const auto escapes = std::count(raw.begin(), raw.end(), '%');
    Require(path.size() + 2 * escapes == raw.size(), "never cut short");
    Require(raw.find_first_of("?#") == std::string_view::npos, "no query or fragment");
}

void CheckRoundTrip(const std::string &path)
{
    const std::string escaped = Escaped(path);
    for (const std::string &prefix : {"file://", "FILE://localhost", "file://Reelbox-Test", "file:"}) {
        const std::optional<std::string> read = LocalPathOfFileUrl(prefix + escaped, Host);
        Require(read && *read == path, "every local form reads back as its path");
    }
    Require(!LocalPathOfFileUrl("file://elsewhere" + escaped, Host), "another host is refused");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    if (const std::optional<std::string> path = LocalPathOfFileUrl(input, Host))
        CheckTaken(input, *path);

    for (const std::string_view line : UriListLines(input)) {
        Require(!line.empty() && line.front() != '#', "no empty lines or comments");
        Require(line.find('\n') == std::string_view::npos, "one line each");
        Require(line.front() != ' ' && line.back() != ' ' && line.back() != '\r', "blanks removed");
        if (const std::optional<std::string> path = LocalPathOfFileUrl(line, Host))
            CheckTaken(line, *path);
    }

    // The input as the bytes of a file name in a folder.
    std::string path = "/" + std::string(input);
    std::replace(path.begin(), path.end(), '\0', 'x');
    while (path.rfind("//", 0) == 0)
        path.erase(0, 1);
    CheckRoundTrip(path);
    return 0;
}
