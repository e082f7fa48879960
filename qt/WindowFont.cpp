#include "WindowFont.h"

#include <QFontDatabase>
#include <QString>

namespace quarnet::qt {

namespace {

// Debian's fonts-arphic-uming; its Latin letters and digits are half the
// width of its ideographs, as in the design.
constexpr auto designFamily = "AR PL UMing CN";
constexpr int designPixelSize = 12;

} // namespace

QFont windowFont()
{
    const QString family = QString::fromLatin1(designFamily);
    if (!QFontDatabase::hasFamily(family))
        return QFont();
    QFont font(family);
    font.setPixelSize(designPixelSize);
    return font;
}

} // namespace quarnet::qt
