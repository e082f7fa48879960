#pragma once

#include <QHash>
#include <QLabel>
#include <QStaticText>

namespace quarnet::window {

// A label for texts that the program rewrites often (the terrain report, the
// coordinates under the mouse). It keeps its texts laid out, so a repaint
// draws glyphs and does not lay the text out again, as QLabel does for every
// paint; the last few hundred layouts are kept, since the terrain report
// comes back to the same few texts. Still a QLabel to everything that asks.
class CachedLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QStaticText& laidOut(qreal width);

    QHash<QString, QStaticText> layouts_;
    qreal layoutWidth_ = -2;
};

} // namespace quarnet::window
