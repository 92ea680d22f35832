#include "controls/property_bag.h"

#include <QFont>
#include <QRegularExpression>
#include <limits>

namespace {

bool IsWholeNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

QString Quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out + QLatin1Char('"');
}

// Undoes Quoted(); `text` starts with the opening quote. Text after the
// closing quote is ignored; a missing closing quote ends the string at the line end.
QString Unquoted(const QString &text)
{
    QString out;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            break;
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('n')   ? QChar('\n')
               : next == QLatin1Char('r') ? QChar('\r')
               : next == QLatin1Char('t') ? QChar('\t')
                                          : next;
    }
    return out;
}

QString FormatValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (IsWholeNumber(value) || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return value.toString();
    if (value.typeId() == QMetaType::QFont)
        return Quoted(value.value<QFont>().toString());
    return Quoted(value.toString());
}

QVariant ParseValue(const QString &text)
{
    if (text.startsWith(QLatin1Char('"')))
        return Unquoted(text);
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong whole = text.toLongLong(&ok);
    if (ok) {
        const bool fitsInt = whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max();
        return fitsInt ? QVariant(int(whole)) : QVariant(whole);
    }
    const double real = text.toDouble(&ok);
    return ok ? QVariant(real) : QVariant(text);
}

} // namespace

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype index = IndexOf(name);
    return index < 0 ? defaultValue : entries[index].second;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    if (value == defaultValue) {
        const qsizetype index = IndexOf(name);
        if (index >= 0)
            entries.removeAt(index);
        return;
    }
    Store(name, value);
}

QStringList PropertyBag::Keys() const
{
    QStringList keys;
    for (const auto &entry : entries)
        keys << entry.first;
    return keys;
}

bool PropertyBag::Contains(const QString &name) const
{
    return IndexOf(name) >= 0;
}

PropertyBag PropertyBag::FromText(const QString &text)
{
    PropertyBag bag;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        if (equals < 0 || key.isEmpty())
            continue;
        bag.Store(key, ParseValue(line.mid(equals + 1).trimmed()));
    }
    return bag;
}

QString PropertyBag::ToText() const
{
    QString text;
    for (const auto &[key, value] : entries)
        text += key + QStringLiteral(" = ") + FormatValue(value) + QLatin1Char('\n');
    return text;
}

qsizetype PropertyBag::IndexOf(const QString &name) const
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void PropertyBag::Store(const QString &name, const QVariant &value)
{
    const qsizetype index = IndexOf(name);
    if (index < 0)
        entries.append({name, value});
    else
        entries[index] = {name, value};
}

std::optional<bool> PropertyTruth(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok ? std::optional<bool>(number != 0) : std::nullopt;
}
