#include "MapCanvasWidget.h"

#include "mapfile/TerrainPalette.h"

#include <QFontMetrics>
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

void MapCanvasWidget::useDecode(std::unique_ptr<PictureDecode> decode)
{
    prefetch_ = std::move(decode);
}

int MapCanvasWidget::loadPicture(const std::string& utf8Path)
{
    std::unique_ptr<PictureDecode> decode = std::move(prefetch_);
    if (!decode || decode->path() != utf8Path)
        decode = std::make_unique<PictureDecode>(utf8Path);
    if (decode->top().isNull())
        return 0;
    PictureDecode& added = *decode;
    const int picture = pictures_.add(std::move(decode));
    // Queued: the model hears of it between two events, on this thread; a
    // canvas destroyed before then drops it.
    added.whenRestFails([this, picture] {
        QMetaObject::invokeMethod(this, [this, picture] { tellBroken(picture); }, Qt::QueuedConnection);
    });
    restsNotStarted_.append(picture);
    if (painted_)
        startRests();
    return picture;
}

void MapCanvasWidget::releasePicture(int picture)
{
    pictures_.release(picture);
}

bool MapCanvasWidget::drawPicture(int picture, int x, int y)
{
    const std::unique_ptr<PictureDecode>* found = pictures_.find(picture);
    if (!found)
        return true;
    PictureDecode& decode = **found;
    const QImage& top = decode.top();
    const QRect drawn = QRect(QPoint(x, y), decode.size()) & surface_.rect();
    if (decode.failed())
        return false;
    if (drawn.isEmpty())
        return true;
    // Below the top band the drawing waits for the rest: a page is drawn
    // whole or, when the rest fails, not at all.
    const QImage* rest = nullptr;
    if (drawn.bottom() >= y + top.height()) {
        rest = decode.rest();
        if (!rest)
            return false;
    }
    QPainter painter(&surface_);
    painter.drawImage(QPoint(x, y), top);
    if (rest)
        painter.drawImage(QPoint(x, y + top.height()), *rest);
    painter.end();
    update(drawn);
    return true;
}

void MapCanvasWidget::setPictureBrokenHandler(std::function<void(int picture)> handler)
{
    brokenHandler_ = std::move(handler);
}

void MapCanvasWidget::tellBroken(int picture)
{
    if (pictures_.find(picture) && brokenHandler_)
        brokenHandler_(picture);
}

void MapCanvasWidget::holdPictureRests(bool held)
{
    restsHeld_ = held;
    if (!held)
        startRests();
}

void MapCanvasWidget::startRests()
{
    if (restsHeld_)
        return;
    for (const int picture : std::as_const(restsNotStarted_)) {
        if (const std::unique_ptr<PictureDecode>* found = pictures_.find(picture))
            (*found)->startRest();
    }
    restsNotStarted_.clear();
}

bool MapCanvasWidget::isPictureWhole(int picture) const
{
    const std::unique_ptr<PictureDecode>* found = pictures_.find(picture);
    return found && (*found)->whole();
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

void MapCanvasWidget::drawTextLines(const std::vector<std::string>& lines, Rgb colour)
{
    QPainter painter(&surface_);
    painter.setFont(font());
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    const QFontMetrics metrics(painter.font());
    // Half a line between lines, a few pixels clear of the sides.
    const int lineHeight = metrics.height();
    const int lineStep = lineHeight + lineHeight / 2;
    const int margin = 4;
    int top = (surface_.height() - lineHeight - lineStep * (static_cast<int>(lines.size()) - 1)) / 2;
    for (const std::string& line : lines) {
        const QRect place(margin, top, surface_.width() - 2 * margin, lineHeight);
        painter.drawText(place, Qt::AlignCenter | Qt::TextSingleLine,
                         metrics.elidedText(QString::fromStdString(line), Qt::ElideMiddle, place.width()));
        top += lineStep;
    }
    painter.end();
    update();
}

void MapCanvasWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
    painter.end();
    // The first page is on the screen: the rest of the picture may come.
    if (!painted_) {
        painted_ = true;
        startRests();
    }
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
