#include "MapCanvasWidget.h"

#include "ImageReaderDecoder.h"
#include "mapfile/TerrainPalette.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace quarnet::qt {

MapCanvasWidget::MapCanvasWidget(QSize size, QWidget* parent)
    : QWidget(parent), pictures_([] { return std::make_unique<ImageReaderDecoder>(); })
{
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Fixed at creation: the surface is the canvas's own size and never resized.
    surface_ = QImage(size, QImage::Format_RGB32);
    const Rgb background = terrain::canvasBackground;
    surface_.fill(QColor(background.red, background.green, background.blue));
    // Queued: the model hears of a broken picture between two events, on
    // this thread; a canvas destroyed before then drops it.
    pictures_.whenRestFails([this](int picture) {
        QMetaObject::invokeMethod(this, [this, picture] { pictures_.tellBroken(picture); }, Qt::QueuedConnection);
    });
}

int MapCanvasWidget::loadPicture(const std::string& utf8Path)
{
    return pictures_.load(utf8Path);
}

void MapCanvasWidget::releasePicture(int picture)
{
    pictures_.release(picture);
}

bool MapCanvasWidget::drawPicture(int picture, int x, int y)
{
    const LoadedPictures::Drawing drawing = pictures_.prepareDrawing(picture, x, y, surface_.width(), surface_.height());
    if (drawing == LoadedPictures::Drawing::broken)
        return false;
    if (drawing == LoadedPictures::Drawing::nothing)
        return true;
    // Every decode this canvas loads has the window's decoder.
    const PictureDecode& decode = *pictures_.find(picture);
    const auto& rows = static_cast<const ImageReaderDecoder&>(decode.decoder());
    QPainter painter(&surface_);
    painter.drawImage(QPoint(x, y), rows.top());
    if (drawing == LoadedPictures::Drawing::topAndRest)
        painter.drawImage(QPoint(x, y + rows.top().height()), rows.rest());
    painter.end();
    update(QRect(QPoint(x, y), QSize(decode.size().width, decode.size().height)) & surface_.rect());
    return true;
}

void MapCanvasWidget::setPictureBrokenHandler(std::function<void(int picture)> handler)
{
    pictures_.setBrokenHandler(std::move(handler));
}

namespace {

// The image's pixels where they lie, without a copy; null when its size
// and its pixels disagree.
QImage viewOf(const RgbImage& image)
{
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return {};
    static_assert(sizeof(Rgb) == 3);
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height, image.width * 3,
                  QImage::Format_RGB888);
}

} // namespace

void MapCanvasWidget::showOverlay(const RgbImage& image)
{
    const QImage pixels = viewOf(image);
    if (pixels.isNull())
        return removeOverlay();
    overlay_ = pixels.copy();
    update();
}

void MapCanvasWidget::removeOverlay()
{
    if (overlay_.isNull())
        return;
    overlay_ = QImage();
    update();
}

void MapCanvasWidget::drawImage(const RgbImage& image, int x, int y)
{
    const QImage pixels = viewOf(image);
    if (pixels.isNull())
        return;
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

void MapCanvasWidget::showToast(const std::string& line)
{
    if (!toastTimer_) {
        toastTimer_ = new QTimer(this);
        toastTimer_->setSingleShot(true);
        toastTimer_->setInterval(toastSeconds * 1000);
        connect(toastTimer_, &QTimer::timeout, this, [this] {
            update(toastRect());
            toast_.clear();
        });
    }
    update(toastRect());
    toast_ = QString::fromStdString(line);
    update(toastRect());
    toastTimer_->start();
}

QRect MapCanvasWidget::toastRect() const
{
    // A band one line high along the foot, a few pixels clear of the edges.
    const int height = QFontMetrics(font()).height() + 6;
    return QRect(0, this->height() - height, width(), height);
}

void MapCanvasWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
    if (const QRect covered = event->rect() & overlay_.rect(); !covered.isEmpty())
        painter.drawImage(covered, overlay_, covered);
    if (!toast_.isEmpty() && event->rect().intersects(toastRect())) {
        // Dark and slightly see-through, so the picture stays in sight.
        const QRect band = toastRect();
        painter.fillRect(band, QColor(0, 0, 0, 190));
        painter.setFont(font());
        painter.setPen(Qt::white);
        const QRect text = band.adjusted(6, 0, -6, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QFontMetrics(font()).elidedText(toast_, Qt::ElideMiddle, text.width()));
    }
    painter.end();
    // The first page is on the screen: the rest of the picture may come.
    if (!painted_) {
        painted_ = true;
        pictures_.allowRests();
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
