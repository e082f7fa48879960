#include "CachedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace quarnet::window {

CachedLabel::CachedLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAutoFillBackground(true);
}

const QStaticText& CachedLabel::laidOut(qreal width)
{
    constexpr qsizetype keep = 256;
    if (width != layoutWidth_ || layouts_.size() >= keep) {
        layouts_.clear();
        layoutWidth_ = width;
    }
    const auto found = layouts_.constFind(text());
    if (found != layouts_.constEnd())
        return *found;
    // Line breaks of a plain text are line separators to the layout.
    QString lines = text();
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QStaticText laid(lines);
    laid.setTextFormat(Qt::PlainText);
    laid.setTextWidth(width);
    laid.setPerformanceHint(QStaticText::AggressiveCaching);
    laid.prepare(QTransform(), font());
    return *layouts_.insert(text(), laid);
}

void CachedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);

    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const qreal width = wordWrap() ? area.width() : -1;
    const QStaticText& laid = laidOut(width);
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

void CachedLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutWidth_ = -2; // lay out again at the next paint
    QLabel::changeEvent(event);
}

} // namespace quarnet::window
