#include "base/file_kinds.h"

#include <QList>

namespace {

bool EndsWith(const QString &path, const char *ending)
{
    return path.endsWith(QLatin1String(ending), Qt::CaseInsensitive);
}

QString Pattern(const FileKind &kind)
{
    return QStringLiteral("*.") + QLatin1String(kind.extension);
}

} // namespace

QStringList FileTypeFilters()
{
    QList<QStringList> patterns(1); // entry 0: every kind
    for (const FileKind &kind : FileKinds) {
        patterns[0].append(Pattern(kind));
        if (patterns.size() <= kind.filterEntry)
            patterns.resize(kind.filterEntry + 1);
        patterns[kind.filterEntry].append(Pattern(kind));
    }
    QStringList filters;
    for (const QStringList &entry : patterns)
        filters.append(entry.join(u';'));
    return filters;
}

bool IsVideoExtension(const QString &extension)
{
    for (const FileKind &kind : FileKinds) {
        if (extension.compare(QLatin1String(kind.extension), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool HasRealAudioEnding(const QString &path)
{
    for (const FileKind &kind : FileKinds) {
        if (kind.realAudioEnding && EndsWith(path, kind.realAudioEnding))
            return true;
    }
    return false;
}

bool IsOpenedByDesktop(const QString &path)
{
    for (const FileKind &kind : FileKinds) {
        if (kind.openedByDesktop && EndsWith(path, kind.extension))
            return true;
    }
    return false;
}

bool IsMetafileName(const QString &path)
{
    for (const FileKind &kind : FileKinds) {
        if (kind.metafile && path.endsWith(u'.' + QLatin1String(kind.extension), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QStringList FileKindMimeTypes()
{
    QStringList types;
    for (const FileKind &kind : FileKinds) {
        for (const QString &type : QString::fromLatin1(kind.mimeTypes).split(u';', Qt::SkipEmptyParts)) {
            if (!types.contains(type))
                types.append(type);
        }
    }
    return types;
}
