#include "widgets/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <fontconfig/fontconfig.h>

namespace {

const QString DesignFamily = QStringLiteral("ＭＳ Ｐゴシック");
const QStringList StandIns{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};

// The family the windows are drawn in: the design font where it is installed,
// else its stand-in. Naming an installed family spares Qt a search through
// the fonts for a missing one's replacements, a good part of start-up.
QString &ShownFamily()
{
    static QString family = DesignFamily;
    return family;
}

} // namespace

void InstallDesignFont()
{
    QFont::insertSubstitutions(DesignFamily, StandIns);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), StandIns);
    // The player's time labels are designed in the narrow "MS Sans Serif".
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    for (const QString &family : QStringList{DesignFamily} + StandIns) {
        if (QFontDatabase::hasFamily(family)) {
            ShownFamily() = family;
            break;
        }
    }
    QApplication::setFont(DesignFont());
}

QFont DesignFont()
{
    QFont font(ShownFamily());
    font.setPointSizeF(9.75);
    return font;
}

FontConfigurationReader::FontConfigurationReader()
    : reader_([] { FcInit(); })
{
}

void FontConfigurationReader::Wait()
{
    if (reader_.joinable())
        reader_.join();
}
