#include "WindowFont.h"

#include <QFontDatabase>
#include <QString>

namespace quarnet::qt {

namespace {

// The control table's sizes are made for captions in a 12-pixel CJK font
// whose Latin letters and digits are half the width of its ideographs, as
// Debian's fonts-arphic-uming has them; without it the toolkit's default font
// is used.
constexpr auto captionFamily = "AR PL UMing CN";
constexpr int captionPixelSize = 12;

} // namespace

QFont windowFont()
{
    const QString family = QString::fromLatin1(captionFamily);
    if (!QFontDatabase::hasFamily(family))
        return QFont();
    QFont font(family);
    font.setPixelSize(captionPixelSize);
    return font;
}

} // namespace quarnet::qt
