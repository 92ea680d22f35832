#pragma once
// What a list row shows of how far its file was watched: nothing for a file
// never played, a thin bar under the name for one left midway, a small mark
// after the name for one watched. The lists' models hand it out under
// RowMarkRole, and the same state as words under Qt::AccessibleDescriptionRole
// for screen readers (RowMarkData gives both).

#include <QMetaType>
#include <QString>
#include <QVariant>

struct RowMark
{
    enum class Kind : quint8 { None, Midway, Watched };
    Kind kind = Kind::None;
    double fraction = 0; // Midway: the position over the length, 0 to 1

    bool operator==(const RowMark &) const = default;
};
Q_DECLARE_METATYPE(RowMark)

inline constexpr int RowMarkRole = Qt::UserRole + 1;

// 「視聴済み」, 「途中 NN%」 or "" for none. NN is the whole percent, rounded
// down: a file left at 99.6 % reads 99, never the 100 of a finished one.
QString RowMarkDescription(const RowMark &mark);

// The mark the row of index shows.
class QModelIndex;
RowMark RowMarkOf(const QModelIndex &index);

// What a model answers for role: the mark, its words, or nothing for other roles.
QVariant RowMarkData(const RowMark &mark, int role);
