#pragma once

#include "PicturePrefetch.h"
#include "model/Canvas.h"
#include "model/NumberedPictures.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <memory>

namespace quarnet::qt {

// The map canvas: a persistent image surface that keeps everything drawn on
// it until something is drawn over it, and repaints itself from that surface.
// Mouse moves and right-button presses are reported in canvas pixels.
class MapCanvasWidget final : public QWidget, public Canvas {
    Q_OBJECT

public:
    // A canvas of size pixels, which it keeps.
    explicit MapCanvasWidget(QSize size, QWidget* parent = nullptr);

    // The next load of the prefetch's path takes its picture.
    void usePrefetch(std::unique_ptr<PicturePrefetch> prefetch);

    int loadPicture(const std::string& utf8Path) override;
    void releasePicture(int picture) override;
    void drawPicture(int picture, int x, int y) override;
    void drawImage(const RgbImage& image, int x, int y) override;
    void setDrawColour(Rgb colour) override;
    void drawRectangle(int left, int top, int right, int bottom) override;

    const QImage& surface() const { return surface_; }

signals:
    void mouseMoved(int x, int y);
    void rightButtonPressed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage surface_;
    QColor drawColour_ {Qt::black};
    NumberedPictures<QImage> pictures_;
    std::unique_ptr<PicturePrefetch> prefetch_;
};

} // namespace quarnet::qt
