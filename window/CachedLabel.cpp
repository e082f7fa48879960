#include "CachedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStaticText>
#include <QStyle>

namespace quarnet::window {

CachedLabel::CachedLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAutoFillBackground(true);
}

void CachedLabel::paintLabel(QPainter& painter)
{
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    drawFrame(&painter);

    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    // Line breaks of a plain text are line separators to the layout.
    QString lines = text();
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QStaticText laid(lines);
    laid.setTextFormat(Qt::PlainText);
    laid.setTextWidth(wordWrap() ? area.width() : -1);
    laid.prepare(QTransform(), font());
    const QSizeF size = laid.size();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    qreal x = area.x();
    if (align & Qt::AlignHCenter)
        x += (area.width() - size.width()) / 2;
    else if (align & Qt::AlignRight)
        x += area.width() - size.width();
    qreal y = area.y();
    if (align & Qt::AlignVCenter)
        y += (area.height() - size.height()) / 2;
    else if (align & Qt::AlignBottom)
        y += area.height() - size.height();
    painter.setClipRect(area);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawStaticText(QPointF(x, y), laid);
}

void CachedLabel::paintEvent(QPaintEvent*)
{
    constexpr qsizetype keep = 64;
    const qreal ratio = devicePixelRatioF();
    if (paintedSize_ != size()) {
        painted_.clear();
        paintedSize_ = size();
    }
    auto found = painted_.constFind(text());
    if (found == painted_.constEnd() || found->devicePixelRatio() != ratio) {
        if (painted_.size() >= keep)
            painted_.clear();
        QPixmap pixmap(size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        QPainter pixmapPainter(&pixmap);
        paintLabel(pixmapPainter);
        pixmapPainter.end();
        found = painted_.insert(text(), pixmap);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, *found);
}

void CachedLabel::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
        painted_.clear();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

} // namespace quarnet::window
