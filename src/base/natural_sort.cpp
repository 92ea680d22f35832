#include "base/natural_sort.h"

#include <QCollator>
#include <algorithm>
#include <numeric>
#include <thread>
#include <vector>

namespace {

// The user's collation; without a language setting (the "C" locale) plain code
// points would put "B" before "a", so English rules stand in.
QLocale CollationLocale()
{
    const QLocale system;
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}

// The sort keys of names[begin, end), with a collator of the calling thread's own.
std::vector<QCollatorSortKey> SortKeys(const QStringList &names, qsizetype begin, qsizetype end)
{
    QCollator collator(CollationLocale());
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(end - begin);
    for (qsizetype i = begin; i < end; ++i)
        keys.push_back(collator.sortKey(names[i]));
    return keys;
}

// Below this many names a second thread costs more than it saves.
constexpr qsizetype NamesWorthASecondThread = 2000;

} // namespace

void SortNaturally(QStringList &names)
{
    // Keys are made once per name (comparing keys is far cheaper than
    // collating pairs) and are most of the work: a big folder shares them out.
    const qsizetype count = names.size();
    const qsizetype half = count >= NamesWorthASecondThread ? count / 2 : count;
    std::vector<QCollatorSortKey> front, back;
    std::thread helper;
    if (half < count)
        helper = std::thread([&] { back = SortKeys(names, half, count); });
    front = SortKeys(names, 0, half);
    if (helper.joinable())
        helper.join();
    const auto key = [&](qsizetype i) -> const QCollatorSortKey & { return i < half ? front[i] : back[i - half]; };

    std::vector<qsizetype> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return key(a).compare(key(b)) < 0; });
    QStringList sorted;
    sorted.reserve(count);
    for (qsizetype i : order)
        sorted.append(names[i]);
    names = std::move(sorted);
}
