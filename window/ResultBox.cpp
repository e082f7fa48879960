#include "ResultBox.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quarnet::window {

ResultBox::ResultBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    text_.setTextFormat(Qt::PlainText);
    text_.setPerformanceHint(QStaticText::AggressiveCaching);
}

void ResultBox::paintEvent(QPaintEvent* event)
{
    if (hasFocus() || hasSelectedText()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QStyleOptionFrame option;
    initStyleOption(&option);
    if (frame_.isNull()) {
        frame_ = QPixmap(size() * devicePixelRatioF());
        frame_.setDevicePixelRatio(devicePixelRatioF());
        frame_.fill(Qt::transparent);
        QPainter framePainter(&frame_);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &framePainter, this);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, frame_);

    if (text_.text() != text())
        text_.setText(text());
    const QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 1, -2, -1);
    const QSizeF size = text_.size();
    // Centred when it fits; otherwise its beginning, as an edit box shows it.
    const bool fits = size.width() <= area.width();
    const qreal x = fits && (alignment() & Qt::AlignHCenter) ? area.x() + (area.width() - size.width()) / 2 : area.x();
    const qreal y = area.y() + (area.height() - size.height()) / 2;
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    painter.drawStaticText(QPointF(x, y), text_);
}

void ResultBox::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
        frame_ = QPixmap();
        text_ = QStaticText();
        text_.setTextFormat(Qt::PlainText);
        break;
    default:
        break;
    }
    QLineEdit::changeEvent(event);
}

void ResultBox::resizeEvent(QResizeEvent* event)
{
    frame_ = QPixmap();
    QLineEdit::resizeEvent(event);
}

} // namespace quarnet::window
