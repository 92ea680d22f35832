#include "platform/fonts.h"

#include <QApplication>
#include <fontconfig/fontconfig.h>

namespace {
const QString DesignFamily = QStringLiteral("ＭＳ Ｐゴシック");
}

void InstallDesignFont()
{
    const QStringList standIns{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(DesignFamily, standIns);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), standIns);
    // The player's time labels are designed in the narrow "MS Sans Serif".
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    QApplication::setFont(DesignFont());
}

QFont DesignFont()
{
    QFont font(DesignFamily);
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
