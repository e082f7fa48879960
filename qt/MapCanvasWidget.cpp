#include "MapCanvasWidget.h"

#include "model/TerrainPalette.h"

#include <QMouseEvent>
#include <QPainter>

namespace quarnet::qt {

MapCanvasWidget::MapCanvasWidget(QSize size, QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Fixed at creation: the surface is the canvas's own size and never resized.
    surface_ = QImage(size, QImage::Format_RGB32);
    const Rgb background = terrain::canvasBackground;
    surface_.fill(QColor(background.red, background.green, background.blue));
}

void MapCanvasWidget::usePrefetch(std::unique_ptr<PicturePrefetch> prefetch)
{
    prefetch_ = std::move(prefetch);
}

int MapCanvasWidget::loadPicture(const std::string& utf8Path)
{
    // A prefetch that failed is tried once more here, so that it can only
    // ever make the load faster.
    std::optional<QImage> prefetched = prefetch_ ? prefetch_->take(utf8Path) : std::nullopt;
    prefetch_.reset();
    const QImage image = prefetched && !prefetched->isNull() ? *prefetched : decodePicture(utf8Path);
    if (image.isNull())
        return 0;
    return pictures_.add(image);
}

void MapCanvasWidget::releasePicture(int picture)
{
    pictures_.release(picture);
}

void MapCanvasWidget::drawPicture(int picture, int x, int y)
{
    const QImage* found = pictures_.find(picture);
    if (!found)
        return;
    QPainter painter(&surface_);
    painter.drawImage(QPoint(x, y), *found);
    painter.end();
    update(QRect(QPoint(x, y), found->size()));
}

void MapCanvasWidget::drawImage(const RgbImage& image, int x, int y)
{
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return;
    static_assert(sizeof(Rgb) == 3);
    const QImage pixels(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                        image.width * 3, QImage::Format_RGB888);
    QPainter painter(&surface_);
    painter.drawImage(QPoint(x, y), pixels);
    painter.end();
    update(QRect(QPoint(x, y), pixels.size()));
}

void MapCanvasWidget::setDrawColour(Rgb colour)
{
    drawColour_ = QColor(colour.red, colour.green, colour.blue);
}

void MapCanvasWidget::drawRectangle(int left, int top, int right, int bottom)
{
    QPainter painter(&surface_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(drawColour_, 1));
    painter.setBrush(Qt::NoBrush);
    // A one-pixel pen draws a QRect one pixel wider and higher than its
    // size: this covers exactly left..right and top..bottom.
    painter.drawRect(QRect(left, top, right - left, bottom - top));
    painter.end();
    update(QRect(QPoint(left, top), QPoint(right, bottom)).normalized());
}

void MapCanvasWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
}

void MapCanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMoved(at.x(), at.y());
}

void MapCanvasWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const QPoint at = event->position().toPoint();
        emit rightButtonPressed(at.x(), at.y());
    }
}

} // namespace quarnet::qt
