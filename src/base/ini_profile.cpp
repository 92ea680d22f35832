#include "base/ini_profile.h"

#include "base/atomic_file.h"
#include "base/file_names.h"
#include "base/text_codec.h"

#include <QList>
#include <QStringView>
#include <optional>

namespace {

// Callers hand the reader a 256-byte buffer on Windows: 255 bytes and the NUL.
constexpr qsizetype kMaxValueBytes = 255;
const QByteArray kNewLine = QByteArrayLiteral("\r\n");
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// One line of the file: its bytes as stored, its own line ending ("" on a last
// line without one), and its text. Each line is decoded by itself, so one stray
// byte never changes how the rest of the file reads; a line that is neither
// UTF-8 nor Shift_JIS keeps a stand-in text for its structure (names, '=') and
// reads as holding no value. A rewrite writes the bytes of every line it did
// not change exactly as they were.
struct IniLine
{
    QByteArray bytes;
    QByteArray ending;
    QString content;
    bool decoded = true;
};

// The file as lines, plus the byte-order mark it began with: kept aside so that the
// parser never sees it and a rewrite puts it back where it was.
struct IniDocument
{
    QByteArray bom;
    QList<IniLine> lines;
};

enum class IniLineKind { Other, Comment, Section, Key };

// What one line means. name and value are views into the line's content.
struct ParsedIniLine
{
    IniLineKind kind = IniLineKind::Other;
    QStringView name;  // section or key name, trimmed
    QStringView value; // key value, trimmed and unquoted
};

// The lines of one section: the header's index and the index just past its last line.
struct SectionRange
{
    qsizetype header = -1;
    qsizetype end = -1;
};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

char16_t AsciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? char16_t(u + (u'a' - u'A')) : u;
}

// Names match ignoring the case of ASCII letters only, as the Windows calls do;
// other letters (accented, full-width) must match exactly.
bool SameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

// A value wholly inside matching double or single quotes loses them; " 1" keeps its blank.
QStringView Unquote(QStringView value)
{
    const bool quoted =
        value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

// Classifies a line. A '[' without a closing ']' makes neither a header nor a key.
ParsedIniLine ParseIniLine(QStringView content)
{
    const QStringView text = TrimBlanks(content);
    if (text.startsWith(u';'))
        return {IniLineKind::Comment, {}, {}};
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return {};
        return {IniLineKind::Section, TrimBlanks(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {};
    return {IniLineKind::Key, TrimBlanks(text.first(equals)), Unquote(TrimBlanks(text.sliced(equals + 1)))};
}

IniLine MakeLine(const QByteArray &bytes, const QByteArray &ending)
{
    if (const std::optional<QString> text = DecodeText(bytes))
        return {bytes, ending, *text, true};
    return {bytes, ending, QString::fromUtf8(bytes), false};
}

// A line holding text the program wrote: UTF-8, ending as given.
IniLine TextLine(const QString &content, const QByteArray &ending)
{
    return {EncodeFileText(content), ending, content, true};
}

// Splits bytes at CRLF, LF or CR, keeping each line's own ending. Neither byte
// occurs inside a UTF-8 or Shift_JIS character, so the split needs no decoding.
QList<IniLine> SplitLines(const QByteArray &bytes)
{
    QList<IniLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        qsizetype next = end;
        if (bytes.sliced(end).startsWith("\r\n"))
            next += 2;
        else if (end < bytes.size())
            next += 1;
        lines.append(MakeLine(bytes.sliced(start, end - start), bytes.sliced(end, next - end)));
        start = next;
    }
    return lines;
}

QByteArray JoinLines(const QList<IniLine> &lines)
{
    QByteArray bytes;
    for (const IniLine &line : lines)
        bytes += line.bytes + line.ending;
    return bytes;
}

// Reads the whole file; a missing file is an empty document, an unreadable one nullopt.
std::optional<IniDocument> LoadDocument(const QString &fileName)
{
    // Something else than a file in its place (a FIFO would block the read)
    // is as unreadable as a file without permission: never replaced.
    if (KindOfPath(fileName) == PathKind::Missing)
        return IniDocument{};
    std::optional<QByteArray> content = ReadRegularFile(fileName);
    if (!content)
        return std::nullopt;
    QByteArray bytes = std::move(*content);
    IniDocument document;
    if (bytes.startsWith(kUtf8Bom)) {
        document.bom = kUtf8Bom;
        bytes.remove(0, kUtf8Bom.size());
    }
    document.lines = SplitLines(bytes);
    return document;
}

// The first section named section; header -1 when there is none. Lines before any
// header belong to no section, so they are never searched.
SectionRange FindSection(const QList<IniLine> &lines, QStringView section)
{
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ParsedIniLine parsed = ParseIniLine(lines[i].content);
        if (parsed.kind != IniLineKind::Section)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (SameName(parsed.name, section))
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

// Index of the first line in range that sets key, or -1.
qsizetype FindKey(const QList<IniLine> &lines, SectionRange range, QStringView key)
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const ParsedIniLine parsed = ParseIniLine(lines[i].content);
        if (parsed.kind == IniLineKind::Key && SameName(parsed.name, key))
            return i;
    }
    return -1;
}

// The last line of range with anything but blanks on it (at worst the header itself).
qsizetype LastNonBlankLine(const QList<IniLine> &lines, SectionRange range)
{
    qsizetype i = range.end - 1;
    while (i > range.header && TrimBlanks(lines[i].content).isEmpty())
        --i;
    return i;
}

// Inserts a new CRLF-ended line at index at, first ending the line before it if that
// was a last line without an ending.
void InsertLine(QList<IniLine> &lines, qsizetype at, const QString &content)
{
    if (at > 0 && lines[at - 1].ending.isEmpty())
        lines[at - 1].ending = kNewLine;
    lines.insert(at, TextLine(content, kNewLine));
}

// The value as a 256-byte buffer would hold it: at most 255 bytes of UTF-8, never
// ending inside a character.
QString CutToBufferSize(QStringView value)
{
    const QByteArray bytes = value.toUtf8();
    if (bytes.size() <= kMaxValueBytes)
        return value.toString();
    qsizetype cut = kMaxValueBytes;
    while (cut > 0 && (uchar(bytes[cut]) & 0xC0) == 0x80) // a continuation byte
        --cut;
    return QString::fromUtf8(bytes.first(cut));
}

// Sets key=value in section: replaces the first line for key, else adds one at the
// end of the section, else adds the section at the end of the file.
void SetKey(QList<IniLine> &lines, const QString &section, const QString &key, const QString &value)
{
    const SectionRange range = FindSection(lines, section);
    if (range.header < 0) {
        InsertLine(lines, lines.size(), u'[' + section + u']');
        InsertLine(lines, lines.size(), key + u'=' + value);
        return;
    }
    const qsizetype found = FindKey(lines, range, key);
    if (found >= 0) {
        // The file's own spelling of the key stays; only what follows the '=' changes.
        const QString replaced = ParseIniLine(lines[found].content).name.toString() + u'=' + value;
        // The same text keeps its bytes: a Shift_JIS line stays Shift_JIS.
        if (!lines[found].decoded || lines[found].content != replaced)
            lines[found] = TextLine(replaced, lines[found].ending);
        return;
    }
    InsertLine(lines, LastNonBlankLine(lines, range) + 1, key + u'=' + value);
}

bool HasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

} // namespace

// Nullopt for a file that could not be read, which reads as holding nothing.
struct ProfileSnapshot::Content
{
    std::optional<IniDocument> document;
};

ProfileSnapshot::ProfileSnapshot(const QString &fileName)
    : content_(std::make_unique<const Content>(Content{LoadDocument(fileName)}))
{
}

ProfileSnapshot::~ProfileSnapshot() = default;

std::optional<QString> ProfileSnapshot::Text(const QString &section, const QString &key, ValueLength length) const
{
    const std::optional<IniDocument> &document = content_->document;
    if (!document)
        return QString();
    const SectionRange range = FindSection(document->lines, TrimBlanks(section));
    if (range.header < 0)
        return QString();
    const qsizetype line = FindKey(document->lines, range, TrimBlanks(key));
    if (line < 0)
        return QString();
    // Reading bytes that are no text as some text would hand the caller a
    // value that was never stored.
    if (!document->lines[line].decoded)
        return std::nullopt;
    const QStringView value = ParseIniLine(document->lines[line].content).value;
    return length == ValueLength::Whole ? value.toString() : CutToBufferSize(value);
}

QString ProfileSnapshot::String(const QString &section, const QString &key, ValueLength length) const
{
    return Text(section, key, length).value_or(QString());
}

std::optional<QString> ReadProfileText(const QString &fileName, const QString &section, const QString &key,
                                       ValueLength length)
{
    return ProfileSnapshot(fileName).Text(section, key, length);
}

QString ReadProfileString(const QString &fileName, const QString &section, const QString &key, ValueLength length)
{
    return ProfileSnapshot(fileName).String(section, key, length);
}

bool WriteProfileString(const QString &fileName, const QString &section, const QString &key, const QString &value)
{
    return WriteProfileStrings(fileName, section, {{key, value}});
}

bool WriteProfileStrings(const QString &fileName, const QString &section, const QList<ProfileEntry> &entries)
{
    // A line break would split an entry into lines that no longer read back as written.
    if (HasLineBreak(section))
        return false;
    for (const auto &[key, value] : entries) {
        if (HasLineBreak(key) || HasLineBreak(value))
            return false;
    }
    std::optional<IniDocument> document = LoadDocument(fileName);
    if (!document)
        return false; // never replace a file we could not read
    const QByteArray before = JoinLines(document->lines);
    for (const auto &[key, value] : entries)
        SetKey(document->lines, TrimBlanks(section).toString(), TrimBlanks(key).toString(), value);
    const QByteArray after = JoinLines(document->lines);
    if (after == before)
        return true;
    return WriteFileAtomically(fileName, document->bom + after);
}
