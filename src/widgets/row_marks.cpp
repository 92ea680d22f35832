#include "widgets/row_marks.h"

#include <QModelIndex>
#include <algorithm>
#include <cmath>

QString RowMarkDescription(const RowMark &mark)
{
    switch (mark.kind) {
    case RowMark::Kind::Watched: return QStringLiteral("視聴済み");
    case RowMark::Kind::Midway: {
        // A hair above: 0.29 is 28.999... in binary and still reads 29.
        const int percent = std::clamp(int(std::floor(mark.fraction * 100 + 1e-9)), 0, 100);
        return QStringLiteral("途中 %1%").arg(percent);
    }
    case RowMark::Kind::None: break;
    }
    return {};
}

QVariant RowMarkData(const RowMark &mark, int role)
{
    if (role == RowMarkRole)
        return mark.kind == RowMark::Kind::None ? QVariant() : QVariant::fromValue(mark);
    if (role == Qt::AccessibleDescriptionRole)
        return mark.kind == RowMark::Kind::None ? QVariant() : QVariant(RowMarkDescription(mark));
    return {};
}

RowMark RowMarkOf(const QModelIndex &index)
{
    return index.data(RowMarkRole).value<RowMark>();
}
