#include "base/file_url.h"

#include <unistd.h>

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = AsciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool IsLocalHost(std::string_view host, std::string_view hostName)
{
    return host.empty() || SameIgnoringAsciiCase(host, "localhost")
           || (!hostName.empty() && SameIgnoringAsciiCase(host, hostName));
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::string> LocalPathOfFileUrl(std::string_view url, std::string_view hostName)
{
    constexpr std::string_view scheme = "file:";
    if (url.size() < scheme.size() || !SameIgnoringAsciiCase(url.substr(0, scheme.size()), scheme))
        return std::nullopt;
    std::string_view rest = url.substr(scheme.size());
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        if (slash == std::string_view::npos || !IsLocalHost(rest.substr(0, slash), hostName))
            return std::nullopt;
        rest.remove_prefix(slash);
    }
    // "//" would be a host in disguise (a share of another machine), and on
    // Linux it names a path on this one.
    if (!rest.starts_with('/') || rest.starts_with("//"))
        return std::nullopt;
    std::string path;
    path.reserve(rest.size());
    for (size_t i = 0; i < rest.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(rest[i]);
        if (c == '%') {
            if (i + 2 >= rest.size())
                return std::nullopt;
            const int high = HexValue(rest[i + 1]), low = HexValue(rest[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            const char byte = static_cast<char>(high * 16 + low);
            if (byte == '\0' || byte == '/')
                return std::nullopt;
            path.push_back(byte);
            i += 2;
            continue;
        }
        if (c < 0x20 || c == 0x7F || c == '?' || c == '#')
            return std::nullopt;
        path.push_back(static_cast<char>(c));
    }
    return path;
}

std::vector<std::string_view> UriListLines(std::string_view list)
{
    std::vector<std::string_view> lines;
    while (!list.empty()) {
        const size_t end = list.find('\n');
        const std::string_view line = TrimBlanks(list.substr(0, end));
        if (!line.empty() && line.front() != '#')
            lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        list.remove_prefix(end + 1);
    }
    return lines;
}

std::string ThisHostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}
