#include "base/file_names.h"

#include <QStringDecoder>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t EscapeBase = 0xDC00; // U+DC80..U+DCFF carry bytes 0x80..0xFF

bool IsEscape(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// The length of the valid UTF-8 sequence at the start of bytes, and its code
// point; 0 when it is not one (overlong forms and surrogates are not).
int Utf8Sequence(QByteArrayView bytes, char32_t &codePoint)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    int length;
    char32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3F)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

// A part of a path (between separators) as the user reads it.
QString DisplayPart(const QString &part)
{
    if (!HasForeignBytes(part))
        return part;
    const QByteArray bytes = EncodeFileName(part);
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (shiftJis.isValid()) {
        const QString read = shiftJis.decode(bytes);
        if (!shiftJis.hasError() && !read.contains(QChar::ReplacementCharacter))
            return read;
    }
    return QString::fromUtf8(bytes);
}

bool Stat(const QString &path, struct stat &info)
{
    return !path.isEmpty() && ::stat(EncodeFileName(path).constData(), &info) == 0;
}

} // namespace

QString DecodeFileName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        char32_t codePoint;
        const int length = Utf8Sequence(bytes.sliced(i), codePoint);
        if (length == 0) {
            name.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        if (codePoint < 0x10000) {
            name.append(QChar(char16_t(codePoint)));
        } else {
            name.append(QChar::highSurrogate(codePoint));
            name.append(QChar::lowSurrogate(codePoint));
        }
        i += length;
    }
    return name;
}

QByteArray EncodeFileName(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (IsEscape(c)) {
            bytes.append(char(c - EscapeBase));
        } else if (QChar::isHighSurrogate(c) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            AppendUtf8(bytes, QChar::ReplacementCharacter);
        } else {
            AppendUtf8(bytes, c);
        }
    }
    return bytes;
}

bool HasForeignBytes(QStringView name)
{
    for (const QChar c : name)
        if (IsEscape(c.unicode()))
            return true;
    return false;
}

bool IsUtf8(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        quint64 word;
        if (bytes.size() - i >= qsizetype(sizeof word)) { // eight ASCII bytes at a time
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & 0x8080808080808080) == 0) {
                i += sizeof word;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t codePoint;
        const int length = Utf8Sequence(bytes.sliced(i), codePoint);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

QByteArray FileUrlOfPath(QStringView path)
{
    return "file://" + EncodeFileName(path).toPercentEncoding("/");
}

QString DisplayFileName(const QString &name)
{
    if (!HasForeignBytes(name))
        return name;
    // A separator is never part of a Shift_JIS character, so each part is read alone.
    QStringList parts = name.split(u'/');
    for (QString &part : parts)
        part = DisplayPart(part);
    return parts.join(u'/');
}

PathKind KindOfPath(const QString &path)
{
    struct stat info;
    if (!Stat(path, info))
        return PathKind::Missing;
    return S_ISREG(info.st_mode) ? PathKind::File : S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}

QString ResolvedPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = path.mid(slash + 1);
    // "", "." and ".." end a path that names a folder: resolved whole.
    const bool folderOnly = name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
    const QString folder = folderOnly ? path : slash < 0 ? QStringLiteral(".") : path.left(qMax<qsizetype>(slash, 1));
    char resolved[PATH_MAX];
    if (!::realpath(EncodeFileName(folder).constData(), resolved))
        return {};
    const QString base = DecodeFileName(QByteArrayView(resolved));
    if (folderOnly)
        return base;
    return base.endsWith(u'/') ? base + name : base + u'/' + name;
}

bool IsReadableFile(const QString &path)
{
    return KindOfPath(path) == PathKind::File && ::access(EncodeFileName(path).constData(), R_OK) == 0;
}

bool IsListableFolder(const QString &path)
{
    return KindOfPath(path) == PathKind::Folder && ::access(EncodeFileName(path).constData(), R_OK | X_OK) == 0;
}

std::optional<QByteArray> ReadRegularFile(const QString &path)
{
    // Opened without waiting, and looked at before reading: a FIFO put where
    // the file was expected is refused instead of waiting for a writer.
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    std::optional<QByteArray> content;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // Read straight into one buffer of the file's size, with a byte to
        // spare so that the read meeting the end needs no more room; a file
        // that grows meanwhile is read on to its new end.
        QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
        qsizetype filled = 0;
        for (;;) {
            if (filled == bytes.size())
                bytes.resize(bytes.size() + 65536);
            const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                break;
            if (got == 0) {
                bytes.truncate(filled);
                content = std::move(bytes);
                break;
            }
            filled += got;
        }
    }
    ::close(fd);
    return content;
}

bool RemoveFileAt(const QString &path)
{
    return KindOfPath(path) != PathKind::Folder && ::unlink(EncodeFileName(path).constData()) == 0;
}
