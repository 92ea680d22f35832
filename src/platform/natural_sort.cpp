#include "platform/natural_sort.h"

#include <QCollator>
#include <algorithm>
#include <vector>

namespace {
// The user's collation; without a language setting (the "C" locale) plain code
// points would put "B" before "a", so English rules stand in.
QLocale CollationLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}
} // namespace

void SortNaturally(QStringList &names)
{
    QCollator collator(CollationLocale());
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Sort keys once per name: comparing keys is far cheaper than collating pairs.
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(names.size());
    for (const QString &name : std::as_const(names))
        keyed.emplace_back(collator.sortKey(name), name);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = keyed[i].second;
}
