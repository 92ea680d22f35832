#include "media/real_metafile.h"

#include "base/file_names.h"
#include "base/file_url.h"
#include "base/text_codec.h"
#include "base/url_scheme.h"
#include "media/media_source.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString FileScheme = QStringLiteral("file://");

// The start and end times of a query "start=...&end=..."; false when the
// query holds anything else (then it is part of the name).
bool ParseTimes(const QString &query, MetafileEntry &entry)
{
    MetafileEntry times;
    for (const QString &parameter : query.split(QLatin1Char('&'))) {
        const QString name = parameter.section(QLatin1Char('='), 0, 0).trimmed().toLower();
        const std::optional<double> value = ParseMetafileTime(parameter.section(QLatin1Char('='), 1));
        if (!value || !parameter.contains(QLatin1Char('=')))
            return false;
        if (name == QLatin1String("start"))
            times.start = value;
        else if (name == QLatin1String("end"))
            times.end = value;
        else
            return false;
    }
    entry.start = times.start;
    entry.end = times.end;
    return true;
}

QString Absolute(const QString &path, const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}

// A local entry: the file as written if there is one, else as decoded if
// there is one, else as written.
MetafileEntry LocalEntry(QString written, const QString &folder)
{
    MetafileEntry entry;
    const qsizetype question = written.lastIndexOf(QLatin1Char('?'));
    if (question >= 0 && !QFileInfo::exists(Absolute(written, folder)) && ParseTimes(written.mid(question + 1), entry))
        written.truncate(question);
    const QString path = Absolute(written, folder);
    const QString decoded = Absolute(QUrl::fromPercentEncoding(written.toUtf8()), folder);
    entry.source = !QFileInfo::exists(path) && QFileInfo::exists(decoded) ? decoded : path;
    return entry;
}

// A "file:" URL's entry: the local file its escapes spell, with the part to
// play when it ends in "?start=...&end=..."; none for a URL that names no
// local file soundly (another host, a relative path, %00 or %2F).
std::optional<MetafileEntry> FileUrlEntry(QString url)
{
    MetafileEntry entry;
    const qsizetype question = url.indexOf(QLatin1Char('?'));
    if (question >= 0 && ParseTimes(url.mid(question + 1), entry))
        url.truncate(question);
    const std::optional<std::string> path = LocalPathOfFileUrl(url.toStdString(), ThisHostName());
    if (!path)
        return std::nullopt;
    entry.source = DecodeFileName(QByteArrayView(path->data(), qsizetype(path->size())));
    return entry;
}

} // namespace

std::optional<double> ParseMetafileTime(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    static const QRegularExpression form(QStringLiteral("^(?:(?:(?:(\\d+):)?(\\d+):)?(\\d+):)?(\\d+(?:\\.\\d*)?)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double factors[] = {86400, 3600, 60, 1};
    double seconds = 0;
    for (int field = 1; field <= 4; ++field)
        seconds += match.captured(field).toDouble() * factors[field - 1];
    return seconds;
}

QList<MetafileEntry> ParseMetafile(const QByteArray &bytes, const QString &folder)
{
    QList<MetafileEntry> entries;
    for (const QString &raw : DecodeFileText(bytes).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed(); // the CR of a CRLF too
        // A NUL would cut the name short where the engine reads it: no name
        // holds one, so neither does a line worth playing.
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.contains(QChar(0)))
            continue;
        if (line.startsWith(FileScheme, Qt::CaseInsensitive)) {
            if (const std::optional<MetafileEntry> entry = FileUrlEntry(line))
                entries.append(*entry);
        } else if (!UrlScheme(line).isEmpty()) {
            if (IsNetworkStreamUrl(line)) // no other scheme may reach the engine
                entries.append({line, std::nullopt, std::nullopt});
        } else {
            entries.append(LocalEntry(line, folder));
        }
    }
    return entries;
}

QList<MetafileEntry> ReadMetafile(const QString &path)
{
    // Read by the bytes of its name, and never a FIFO that would wait for a writer.
    const std::optional<QByteArray> bytes = ReadRegularFile(path);
    if (!bytes)
        return {};
    return ParseMetafile(*bytes, QFileInfo(path).absolutePath());
}
