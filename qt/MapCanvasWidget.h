#pragma once

#include "editor/Canvas.h"
#include "picture/LoadedPictures.h"

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
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

    // A picture's number is given once its top band has decoded; the rest
    // decodes on the worker once the canvas is first painted, or when a
    // drawing needs it first, which then waits for it.
    int loadPicture(const std::string& utf8Path) override;
    void releasePicture(int picture) override;
    bool drawPicture(int picture, int x, int y) override;
    void setPictureBrokenHandler(std::function<void(int picture)> handler) override;
    void drawImage(const RgbImage& image, int x, int y) override;
    void setDrawColour(Rgb colour) override;
    void drawRectangle(int left, int top, int right, int bottom) override;
    void showOverlay(const RgbImage& image) override;
    void removeOverlay() override;
    void drawTextLines(const std::vector<std::string>& lines, Rgb colour) override;
    void showToast(const std::string& line) override;

    // What the canvas keeps, and the overlay over it (null when none).
    const QImage& surface() const { return surface_; }
    const QImage& overlay() const { return overlay_; }
    // The note shown along the foot; empty once it is gone.
    const QString& toast() const { return toast_; }
    LoadedPictures& pictures() { return pictures_; }

signals:
    void mouseMoved(int x, int y);
    void rightButtonPressed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage surface_;
    QImage overlay_;
    QString toast_;
    QTimer* toastTimer_ = nullptr;
    QRect toastRect() const;
    QColor drawColour_ {Qt::black};
    LoadedPictures pictures_;
    bool painted_ = false;
};

} // namespace quarnet::qt
