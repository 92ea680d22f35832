#include "platform/fonts.h"

#include <QApplication>

namespace {
const QString DesignFamily = QStringLiteral("ＭＳ Ｐゴシック");
}

void InstallDesignFont()
{
    const QStringList standIns{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(DesignFamily, standIns);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), standIns);
    QApplication::setFont(DesignFont());
}

QFont DesignFont()
{
    QFont font(DesignFamily);
    font.setPointSizeF(9.75);
    return font;
}
