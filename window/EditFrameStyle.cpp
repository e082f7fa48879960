#include "EditFrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionFrame>

namespace quarnet::window {

namespace {

// A handful of box sizes times a few states; more means something keeps
// changing, and the pixmaps are made again.
constexpr std::size_t keptPanels = 64;

} // namespace

EditFrameStyle::EditFrameStyle() : QProxyStyle(QApplication::style()->name())
{
    setParent(qApp);
}

EditFrameStyle* EditFrameStyle::shared()
{
    static QPointer<EditFrameStyle> style;
    if (!style)
        style = new EditFrameStyle;
    return style;
}

bool EditFrameStyle::plainWindow(const QPalette& palette)
{
    const QBrush& window = palette.brush(QPalette::Window);
    return window.style() == Qt::SolidPattern && window.color().alpha() == 255;
}

void EditFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || !frame || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QSize size = option->rect.size();
    const qint64 paletteKey = option->palette.cacheKey();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const bool onWindow = widget && widget->testAttribute(Qt::WA_OpaquePaintEvent) && plainWindow(option->palette);
    const QRgb under = onWindow ? option->palette.color(QPalette::Window).rgba() : qRgba(0, 0, 0, 0);
    for (const Panel& panel : panels_) {
        if (panel.size == size && panel.state == option->state && panel.direction == option->direction
            && panel.paletteKey == paletteKey && panel.lineWidth == frame->lineWidth && panel.pixelRatio == ratio
            && panel.under == under) {
            painter->drawPixmap(option->rect.topLeft(), panel.pixmap);
            return;
        }
    }
    if (panels_.size() >= keptPanels)
        panels_.clear();

    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(QColor::fromRgba(under));
    {
        QStyleOptionFrame atOrigin(*frame);
        atOrigin.rect.moveTo(0, 0);
        QPainter pixmapPainter(&pixmap);
        QProxyStyle::drawPrimitive(element, &atOrigin, &pixmapPainter, widget);
    }
    painter->drawPixmap(option->rect.topLeft(), pixmap);
    panels_.push_back({size, option->state, option->direction, paletteKey, frame->lineWidth, ratio, under, pixmap});
}

} // namespace quarnet::window
