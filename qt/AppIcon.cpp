#include "AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace quarnet::qt {

QImage drawAppIcon(int size)
{
    QImage pixmap(size, size, QImage::Format_ARGB32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const int cell = size / 4;
    // Sea, coast, plain and mountain blocks.
    const QColor colours[4][4] = {
        {QColor(28, 72, 140), QColor(28, 72, 140), QColor(64, 128, 192), QColor(118, 168, 72)},
        {QColor(28, 72, 140), QColor(64, 128, 192), QColor(118, 168, 72), QColor(118, 168, 72)},
        {QColor(64, 128, 192), QColor(118, 168, 72), QColor(160, 140, 96), QColor(128, 110, 90)},
        {QColor(118, 168, 72), QColor(118, 168, 72), QColor(128, 110, 90), QColor(236, 236, 240)},
    };
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            painter.fillRect(column * cell, row * cell, cell, cell, colours[row][column]);
    if (size >= 32) {
        painter.setPen(QColor(0, 0, 0, 60));
        for (int i = 1; i < 4; ++i) {
            painter.drawLine(i * cell, 0, i * cell, size);
            painter.drawLine(0, i * cell, size, i * cell);
        }
    }
    painter.setPen(QPen(QColor(220, 30, 30), size >= 32 ? 2 : 1));
    painter.drawRect(cell * 2, cell, cell - 1, cell - 1);
    painter.end();
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (const int size : {48, 32, 16})
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(size)));
    return icon;
}

} // namespace quarnet::qt
