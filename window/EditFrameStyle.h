#pragma once

#include <QPixmap>
#include <QProxyStyle>

#include <vector>

namespace quarnet::window {

// The application's style, except that the panel of an edit box is drawn once
// per size and state and then copied from a pixmap. Drawing the rounded panel
// anew costs more than everything else in an edit box's repaint, and a wide
// box such as the status line costs most. For an edit box that paints
// opaquely the panel lies on the plain window colour, corners included.
class EditFrameStyle final : public QProxyStyle {
public:
    // The one instance, made on first use and owned by the application.
    static EditFrameStyle* shared();

    // Whether a panel can lie on the palette's window colour: a plain,
    // opaque one. Only then may an edit box paint opaquely with this style.
    static bool plainWindow(const QPalette& palette);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    EditFrameStyle();

    struct Panel {
        QSize size;
        QStyle::State state;
        Qt::LayoutDirection direction;
        qint64 paletteKey;
        int lineWidth;
        qreal pixelRatio;
        QRgb under; // the window colour beneath, or transparent
        QPixmap pixmap;
    };
    mutable std::vector<Panel> panels_;
};

} // namespace quarnet::window
