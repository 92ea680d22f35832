#pragma once
// PropertyBag holds the persisted properties of one of our own controls, in the
// order they were written. Every property has a default; a value equal to its
// default is not kept, and a missing key reads as its default, so a bag holds
// only what differs from a fresh control. Names match without regard to case.
//
// A bag also has a plain text form for hosts that keep stored property sets in
// code or files, one "Key = value" per line:
//   Caption = "再生"          strings in double quotes (\" \\ \n \r \t escaped)
//   FirstRun = 0              whole and real numbers bare
//   Enabled = False           truth values as True / False
//   Font = "IPAPGothic,9.75,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"   fonts as QFont::toString()
// Fonts come back as their string; readers convert (QFont::fromString).

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>

class PropertyBag
{
public:
    // The stored value of `name`, or `defaultValue` when none is stored.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    // Stores `value` under `name` when it differs from `defaultValue`; when it
    // equals the default, any stored value is dropped. A key already stored
    // (in any letter case) is replaced in place, under the new spelling;
    // a new key goes to the end.
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});

    // Stored keys, in stored order.
    QStringList Keys() const;

    bool Contains(const QString &name) const;

    // Parses the text form. Blank lines and lines without "=" are skipped; a
    // key given twice keeps its first place and its last value.
    static PropertyBag FromText(const QString &text);

    // The text form, one line per stored key, each ended by "\n".
    QString ToText() const;

private:
    qsizetype IndexOf(const QString &name) const;
    void Store(const QString &name, const QVariant &value);

    QList<std::pair<QString, QVariant>> entries;
};

// A stored Boolean: a Boolean, "True" or "False" in any case, or a number
// (non-zero is true); nothing for any other value.
std::optional<bool> PropertyTruth(const QVariant &value);
